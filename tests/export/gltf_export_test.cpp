// The glTF export read back with TinyGLTF's loader: nodes named and parented
// like the BVH joints, one key per recorded frame at the frame's own time,
// poses mapped to glTF's frame, channels only for what moves, both file
// forms, and previous files kept when the motion or the output fails.

#include "export/gltf_export.h"
#include "export/gltf_pose.h"
#include "export_fixture.h"
#include "model/motion_file.h"
#include "model/object_model.h"

#include <cstring>
#include <map>
#include <tiny_gltf.h>

namespace kv::exptest {
namespace {

namespace fs = std::filesystem;

class GltfExportTest : public ExportTest {
  protected:
    /// An object whose "Wheel" yaws with control channel 1 and whose "Cap",
    /// below it, has no driver at all.
    model::ObjectRecord wheeledObject() {
        model::ObjectRecord r = bareObject();
        const int wheel = addEffector(r, model::kEffectorTire, "Wheel");
        auto& w = r.effectors[static_cast<std::size_t>(wheel)];
        w.offsets = {2.0f, 1.0f, 0.5f, 0.0f, 0.0f, 0.0f};
        w.drivers = {0, 0, 0, 0, 0, 1};
        w.scales = {0, 0, 0, 0, 0, 10.0f};
        const int cap = addEffector(r, model::kEffectorBasic, "Cap", wheel);
        r.effectors[static_cast<std::size_t>(cap)].offsets = {0.0f, 0.5f, 0.0f, 0.0f, 0.0f, 0.0f};
        return r;
    }

    tinygltf::Model load(const fs::path& file) {
        tinygltf::TinyGLTF loader;
        tinygltf::Model m;
        std::string error, warning;
        const bool ok = file.extension() == ".gltf"
                            ? loader.LoadASCIIFromFile(&m, &error, &warning, file.string())
                            : loader.LoadBinaryFromFile(&m, &error, &warning, file.string());
        EXPECT_TRUE(ok) << error;
        return m;
    }

    /// Floats of accessor `a`.
    static std::vector<float> floats(const tinygltf::Model& m, int a) {
        const auto& accessor = m.accessors[static_cast<std::size_t>(a)];
        const auto& view = m.bufferViews[static_cast<std::size_t>(accessor.bufferView)];
        const auto& data = m.buffers[static_cast<std::size_t>(view.buffer)].data;
        const std::size_t n = view.byteLength / sizeof(float);
        std::vector<float> out(n);
        std::memcpy(out.data(), data.data() + view.byteOffset + accessor.byteOffset, n * 4);
        return out;
    }

    static int nodeNamed(const tinygltf::Model& m, const std::string& name) {
        for (std::size_t i = 0; i < m.nodes.size(); ++i) {
            if (m.nodes[i].name == name)
                return static_cast<int>(i);
        }
        ADD_FAILURE() << "no node " << name;
        return -1;
    }

    /// Output accessor of the channel of `node` along `path`, or -1.
    static int channelOutput(const tinygltf::Model& m, int node, const std::string& path) {
        const auto& a = m.animations.at(0);
        for (const auto& c : a.channels) {
            if (c.target_node == node && c.target_path == path)
                return a.samplers[static_cast<std::size_t>(c.sampler)].output;
        }
        return -1;
    }
};

TEST_F(GltfExportTest, NodesKeysAndPosesFollowTheMotion) {
    const auto frames = linearMotion(2.0f, 0.1f);
    const auto motion = writeMotion(wheeledObject(), frames);
    const fs::path out = dir / "Run.glb";
    exp::GltfOptions gltf;
    ASSERT_TRUE(exp::exportGltf(motion, out, "Run", gltf, slot(), log)) << log.shown.size();
    EXPECT_TRUE(log.shown.empty());
    const tinygltf::Model m = load(out);

    // Hierarchy: Run.CG at the root, Run.Wheel below it, Run.Cap below that.
    ASSERT_EQ(m.scenes.size(), 1u);
    const int body = nodeNamed(m, "Run.CG");
    const int wheel = nodeNamed(m, "Run.Wheel");
    const int cap = nodeNamed(m, "Run.Cap");
    EXPECT_EQ(m.scenes[0].nodes, std::vector<int>{body});
    EXPECT_EQ(m.nodes[static_cast<std::size_t>(body)].children, std::vector<int>{wheel});
    EXPECT_EQ(m.nodes[static_cast<std::size_t>(wheel)].children, std::vector<int>{cap});
    EXPECT_TRUE(m.meshes.empty()) << "a motion without geometry has no mesh";

    // One key per recorded frame, at the frame's own time.
    ASSERT_EQ(m.animations.size(), 1u);
    const int bodyTranslation = channelOutput(m, body, "translation");
    const int bodyRotation = channelOutput(m, body, "rotation");
    ASSERT_GE(bodyTranslation, 0);
    ASSERT_GE(bodyRotation, 0);
    const int input = m.animations[0].samplers[0].input;
    const std::vector<float> times = floats(m, input);
    ASSERT_EQ(times.size(), frames.size());
    for (std::size_t k = 0; k < frames.size(); ++k)
        EXPECT_EQ(times[k], frames[k][model::kFrameTime]);

    // Every key is the frame's pose in glTF's frame.
    const std::vector<float> t = floats(m, bodyTranslation);
    const std::vector<float> r = floats(m, bodyRotation);
    for (std::size_t k = 0; k < frames.size(); k += 5) {
        using namespace model;
        const auto& f = frames[k];
        const exp::GltfPose p = exp::toGltfPose(f[kFrameNorth], f[kFrameEast], f[kFrameDown],
                                                f[kFrameRoll], f[kFramePitch], f[kFrameYaw]);
        for (std::size_t i = 0; i < 3; ++i)
            EXPECT_NEAR(t[3 * k + i], p.translation[i], 1e-6) << "key " << k;
        double dot = 0.0;
        for (std::size_t i = 0; i < 4; ++i)
            dot += r[4 * k + i] * p.rotation[i];
        EXPECT_NEAR(std::fabs(dot), 1.0, 1e-6) << "key " << k;
    }

    // The wheel turns, so it is keyed; the cap only rides along.
    EXPECT_GE(channelOutput(m, wheel, "rotation"), 0);
    EXPECT_EQ(channelOutput(m, cap, "rotation"), -1);
    EXPECT_EQ(channelOutput(m, cap, "translation"), -1);
    const auto& capNode = m.nodes[static_cast<std::size_t>(cap)];
    ASSERT_EQ(capNode.translation.size(), 3u);
    EXPECT_NEAR(capNode.translation[0], -0.5 * 0.3048037, 1e-6) << "0.5 ft to the right is -X";

    // The camera slot is an empty camera again.
    EXPECT_EQ(camera.vehicleType, model::kVehicleNone);
    EXPECT_EQ(store.lastFrame(kCameraSlot), -1);
}

TEST_F(GltfExportTest, TextFormWritesItsBufferBeside) {
    const auto motion = writeMotion(wheeledObject(), linearMotion(1.0f));
    exp::GltfOptions gltf;
    gltf.container = exp::gltfContainerFor(dir / "Take.GLTF");
    ASSERT_EQ(gltf.container, exp::GltfContainer::kText);
    ASSERT_TRUE(exp::exportGltf(motion, dir / "Take.gltf", "Take", gltf, slot(), log));
    EXPECT_TRUE(fs::exists(dir / "Take.bin"));
    EXPECT_NE(readText(dir / "Take.gltf").find("\"uri\": \"Take.bin\""), std::string::npos);
    const tinygltf::Model m = load(dir / "Take.gltf");
    EXPECT_EQ(m.animations.size(), 1u);
    // Only the motion, the two outputs: no scratch folder is left behind.
    EXPECT_EQ(dir.entries(), (std::vector<std::string>{"Run.kvm", "Take.bin", "Take.gltf"}));
}

TEST_F(GltfExportTest, FailuresKeepPreviousFiles) {
    exp::GltfOptions gltf;
    filetest::writeBytes(dir / "Old.glb", {'o', 'l', 'd'});
    EXPECT_FALSE(exp::exportGltf(dir / "Missing.kvm", dir / "Old.glb", "Run", gltf, slot(), log));
    EXPECT_EQ(log.shown.back(), "A valid file was not selected.");
    EXPECT_EQ(readText(dir / "Old.glb"), "old");

    log.shown.clear();
    const auto motion = writeMotion(bareObject(), linearMotion(1.0f));
    EXPECT_FALSE(
        exp::exportGltf(motion, dir / "no-such-folder" / "Run.glb", "Run", gltf, slot(), log));
    EXPECT_EQ(log.shown, std::vector<std::string>{"\"Run.glb\" could not be saved."});
    gltf.container = exp::GltfContainer::kText;
    EXPECT_FALSE(
        exp::exportGltf(motion, dir / "no-such-folder" / "Run.gltf", "Run", gltf, slot(), log));
    EXPECT_EQ(log.shown.back(), "\"Run.gltf\" could not be saved.");
    EXPECT_EQ(camera.vehicleType, model::kVehicleNone);
}

} // namespace
} // namespace kv::exptest
