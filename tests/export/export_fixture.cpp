#include "export_fixture.h"

#include "model/motion_file.h"
#include "model/object_model.h"

#include <fstream>
#include <sstream>

namespace kv::exptest {

model::MotionFrame linearFrame(float t) {
    using namespace model;
    MotionFrame f{};
    f[kFrameTime] = t;
    f[kFrameNorth] = 2.0f * t + 1.0f;
    f[kFrameEast] = -1.5f * t - 0.5f;
    f[kFrameDown] = -0.25f * t - 0.75f;
    f[kFrameRoll] = 4.0f * t + 2.0f;
    f[kFramePitch] = -3.0f * t + 1.0f;
    f[kFrameYaw] = 20.0f * t + 5.0f;
    // Every driving quantity moves, each at its own rate.
    for (int i = kFrameControls; i < kFrameFieldCount; ++i) {
        f[static_cast<std::size_t>(i)] =
            0.5f * static_cast<float>(i) * t + 0.01f * static_cast<float>(i);
    }
    return f;
}

std::vector<model::MotionFrame> linearMotion(float length, float step) {
    std::vector<model::MotionFrame> frames;
    const int n = static_cast<int>(length / step + 0.5f);
    for (int i = 0; i <= n; ++i) {
        frames.push_back(linearFrame(static_cast<float>(i) * step));
    }
    return frames;
}

model::ObjectRecord bareObject() {
    model::ObjectRecord r;
    model::resetObject(r);
    r.vehicleType = model::kVehicleNone;
    r.role = model::kRoleDynamic;
    model::setRecordName(r.name, "Thing");
    return r;
}

int addEffector(model::ObjectRecord& r, int kind, std::string_view name, int parent) {
    const int index = r.effectorCount++;
    model::EffectorRecord& e = r.effectors[static_cast<std::size_t>(index)];
    e = model::EffectorRecord{};
    e.kind = kind;
    e.parent = parent;
    model::setRecordName(e.name, name);
    if (parent >= 0) {
        model::EffectorRecord& p = r.effectors[static_cast<std::size_t>(parent)];
        p.children[static_cast<std::size_t>(p.childCount++)] = index;
    }
    return index;
}

std::vector<std::string> splitLines(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t end = text.find('\n', start);
        if (end == std::string::npos) {
            lines.push_back(text.substr(start));
            break;
        }
        lines.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    return lines;
}

std::vector<std::string> splitFields(std::string_view line) {
    std::vector<std::string> fields;
    std::string current;
    for (char c : line) {
        if (c == '\t' || c == ' ') {
            if (!current.empty())
                fields.push_back(current);
            current.clear();
        } else {
            current += c;
        }
    }
    if (!current.empty())
        fields.push_back(current);
    return fields;
}

std::string readText(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

void ExportTest::SetUp() {
    ASSERT_TRUE(store.allocate(2, 400));
    model::resetCamera(camera);
}

std::filesystem::path ExportTest::writeMotion(const model::ObjectRecord& record,
                                              const std::vector<model::MotionFrame>& frames,
                                              std::string_view name) {
    const std::filesystem::path file = dir / name;
    filetest::MessageLog saveLog;
    EXPECT_TRUE(model::saveLiveMotion(file, record, model::TriangleSource{}, frames, saveLog));
    return file;
}

exp::ExportSlot ExportTest::slot() {
    model::MotionTarget target;
    target.slot = kCameraSlot;
    target.record = &camera;
    target.geometry.clear = [this] { ++geometryClears; };
    return {target, &store};
}

} // namespace kv::exptest
