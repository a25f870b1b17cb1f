// The plug-ins against the simulator's own code: the saver's DXF read back by
// the DXF reader, and a motion file saved by the simulator converted by the
// scene converter.

#include "common/ports/messages.h"
#include "common/unit_constants.h"
#include "geometry/dxf_reader.h"
#include "model/motion_file.h"
#include "model/motion_frame.h"
#include "model/object_model.h"
#include "support/dxf_faces_reader.h"
#include "support/motion_writer.h"
#include "support/plugins.h"
#include "support/scene_reader.h"

#include <gtest/gtest.h>

namespace kv::plugtest {
namespace {

namespace fs = std::filesystem;

class RecordedMessages final : public MessagePort {
  public:
    void showMessage(std::string_view text) override { messages.emplace_back(text); }
    std::vector<std::string> messages;
};

TEST(SaverDxfImport, ReadsBackThroughTheSimulatorsDxfReader) {
    TempDir dir;
    const fs::path file = dir / "saved.dxf";
    auto module = loadModule(KV_SAVE_PLUGIN);
    ASSERT_TRUE(module);
    lwtest::TestHost host;
    // LightWave axes: x right, y up, z forward. Values exact in "%g".
    host.mesh.points = {{0, 0, 1},       {1, 0, 0},    {0, 1, 0},      // triangle
                        {1.5, -2.25, 3}, {4, 0.5, -1}, {-2, 8, 0.125}, // pentagon
                        {6, 7, 8.75},    {0.25, 0, -3}};
    host.mesh.polygons = {{EDDF_SELECT, {0, 1, 2}}, {EDDF_SELECT, {3, 4, 5, 6, 7}}};
    host.panelScripts.push_back({});
    host.fileRequestScripts.push_back({1, file.string()});
    ASSERT_EQ(host.meshEdit(*module->findServer("MeshDataEdit", "Kestrovane-SaveDXF")), AFUNC_OK);
    ASSERT_TRUE(fs::exists(file));

    std::vector<std::array<double, 12>> faces;
    RecordedMessages messages;
    const int result = geom::readDxf(
        file, fs::file_size(file), model::GeometryTransform{},
        [&](const std::array<double, 12>& corners, float) {
            faces.push_back(corners);
            return 1;
        },
        messages);
    if (result == 0 &&
        messages.messages == std::vector<std::string>{"The DXF file could not be opened."}) {
        GTEST_SKIP() << "the DXF reader is not in place yet";
    }
    ASSERT_EQ(result, 1);
    EXPECT_TRUE(messages.messages.empty());

    // Simulator axes: forward = LightWave z, right = x, down = -y.
    auto corner = [&](int point) {
        const auto& p = host.mesh.points[static_cast<std::size_t>(point)];
        return std::array<double, 3>{p[2], p[0], -p[1]};
    };
    const std::vector<std::array<int, 4>> expected = {{0, 1, 2, 2}, {3, 4, 5, 6}, {3, 6, 7, 7}};
    ASSERT_EQ(faces.size(), expected.size());
    for (std::size_t f = 0; f < faces.size(); ++f) {
        for (std::size_t k = 0; k < 4; ++k) {
            const auto want = corner(expected[f][k]);
            for (std::size_t a = 0; a < 3; ++a) {
                EXPECT_EQ(faces[f][3 * k + a], want[a]) << "face " << f << " corner " << k;
            }
        }
    }
}

TEST(ConverterRecordLayout, ConvertsAMotionSavedByTheSimulator) {
    model::ObjectRecord record;
    model::resetObject(record);
    record.effectorCount = 3;
    const char* names[3] = {"Fork", "FrontWheel", "RearWheel"};
    for (int i = 0; i < 3; ++i)
        model::setRecordName(record.effectors[static_cast<std::size_t>(i)].name, names[i]);
    record.effectors[0].parent = -1;
    record.effectors[0].childCount = 1;
    record.effectors[0].children[0] = 1;
    record.effectors[1].parent = 0;
    record.effectors[2].parent = -1;
    // Rear wheel: down 1.5 ft plus the strut of tire 0; rolls with tire 0.
    record.effectors[2].drivers = {0, 0, 21, 0, 31, 0};
    record.effectors[2].offsets = {-4.0f, 0.0f, 1.5f, 0.0f, 0.0f, 0.0f};
    record.effectors[2].scales = {0.0f, 0.0f, 2.0f, 0.0f, 1.0f, 0.0f};

    TempDir dir;
    const fs::path motion = dir / "bike.kvm";
    std::vector<model::MotionFrame> frames;
    for (int i = 0; i < 4; ++i) {
        model::MotionFrame f{};
        f[model::kFrameTime] = static_cast<float>(i);
        f[model::kFrameStrut] = 0.25f;
        f[model::kFrameTireRoll] = 90.0f;
        frames.push_back(f);
    }
    model::TriangleSource geometry;
    geometry.count = 5;
    geometry.triangle = [](std::size_t i) {
        return std::array<float, 9>{static_cast<float>(i), 0, 0, 0, 1, 0, 0, 0, 1};
    };
    RecordedMessages saveMessages;
    ASSERT_TRUE(model::saveLiveMotion(motion, record, geometry, frames, saveMessages));

    auto module = loadModule(KV_LOAD_PLUGIN);
    ASSERT_TRUE(module);
    lwtest::TestHost host;
    host.framesPerSecond = 1.0;
    host.panelScripts.push_back({});
    const auto run =
        host.convert(*module->findServer("SceneConverter", "Kestrovane-Load"), motion.string());
    ASSERT_TRUE(run.scene) << (host.messages.empty() ? "" : host.messages[0]);
    const Scene s = parseScene(readText(*run.scene));
    ASSERT_EQ(s.error, "");
    ASSERT_EQ(s.objects.size(), 4u);
    EXPECT_EQ(s.objects[1].name, "bike.Fork");
    EXPECT_EQ(s.objects[2].name, "bike.FrontWheel");
    EXPECT_EQ(s.objects[2].parent, 2);
    EXPECT_EQ(s.objects[3].name, "bike.RearWheel");
    EXPECT_EQ(s.objects[3].parent, 1);
    const auto& key = s.objects[3].keys.back();
    EXPECT_NEAR(key.values[1], -2.0 * kv::kMetresPerFootD, 1e-6); // up = -(1.5 + 2 * 0.25) ft
    EXPECT_NEAR(key.values[2], -4.0 * kv::kMetresPerFootD, 1e-6);
    EXPECT_NEAR(key.values[4], -90.0, 1e-6);
}

} // namespace
} // namespace kv::plugtest
