#include "project_test_support.h"

#include "model/motion_file.h"
#include "support/file_test_support.h"
#include "support/motion_test_data.h"

#include <fstream>
#include <stdexcept>

namespace kv::app::projecttest {

std::filesystem::path writeMotion(const std::filesystem::path& file, int frames,
                                  std::int32_t vehicleType, float timeOffset) {
    model::ObjectRecord r = filetest::sampleObject();
    r.vehicleType = vehicleType;
    std::vector<model::MotionFrame> list;
    for (int i = 0; i < frames; ++i)
        list.push_back(filetest::sampleFrame(timeOffset + 0.1f * static_cast<float>(i)));
    const auto tris = filetest::sampleTriangles(4);
    filetest::MessageLog log;
    if (!model::saveLiveMotion(file, r, filetest::sourceOf(tris), list, log))
        throw std::runtime_error("cannot write motion");
    return file;
}

std::filesystem::path writeDxf(const std::filesystem::path& file, int faces) {
    std::ofstream out(file);
    out << "0\nSECTION\n2\nENTITIES\n";
    for (int i = 0; i < faces; ++i) {
        const double x = 10.0 * i;
        out << "0\n3DFACE\n8\n0\n"
            << "10\n"
            << x << "\n20\n0.0\n30\n0.0\n"
            << "11\n"
            << x + 5.0 << "\n21\n0.0\n31\n0.0\n"
            << "12\n"
            << x + 5.0 << "\n22\n5.0\n32\n0.0\n"
            << "13\n"
            << x + 5.0 << "\n23\n5.0\n33\n0.0\n";
    }
    out << "0\nENDSEC\n0\nEOF\n";
    return file;
}

std::uintmax_t bodyBytes(int triangles, int frames) {
    return 4u + 11940u + 4u + 36u * static_cast<unsigned>(triangles) +
           264u * (static_cast<unsigned>(frames) + 1u);
}

} // namespace kv::app::projecttest
