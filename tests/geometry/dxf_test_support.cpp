#include "dxf_test_support.h"

#include <atomic>
#include <unistd.h>

namespace kv::geom::test {

TempFolder::TempFolder() {
    static std::atomic<int> serial{0};
    path_ = std::filesystem::temp_directory_path() /
            ("kv_dxf_test_" + std::to_string(::getpid()) + "_" + std::to_string(serial++));
    std::filesystem::create_directories(path_);
}

TempFolder::~TempFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
}

std::filesystem::path TempFolder::write(const std::string& name, std::string_view bytes) const {
    const std::filesystem::path file = path_ / name;
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return file;
}

ReadRun readAll(const std::filesystem::path& file, const model::GeometryTransform& transform,
                int stopAfter) {
    ReadRun run;
    RecordedMessages messages;
    std::error_code ec;
    const auto size = std::filesystem::file_size(file, ec);
    run.result = readDxf(
        file, ec ? 0 : size, transform,
        [&](const std::array<double, 12>& corners, float progress) {
            run.faces.push_back({corners, progress});
            return static_cast<int>(run.faces.size()) == stopAfter ? 0 : 1;
        },
        messages);
    run.messages = messages.texts;
    return run;
}

std::string faceText(const std::array<std::string, 12>& values) {
    static constexpr const char* kKeys[12] = {" 10", " 20", " 30", " 11", " 21", " 31",
                                              " 12", " 22", " 32", " 13", " 23", " 33"};
    std::string text = "  0\n3DFACE\n  8\nLayer\n";
    for (std::size_t i = 0; i < 12; ++i) {
        text.append(kKeys[i]).append("\n").append(values[i]).append("\n");
    }
    return text;
}

} // namespace kv::geom::test
