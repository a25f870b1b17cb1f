// An independent reader accepts our BVH: the BVH loader of three.js, run under
// Node.js, reads the export of a helicopter's recorded motion, and the joint
// names, the frame count and channel values it reports match the motion.

#include "export/bvh_export.h"
#include "export/joint_names.h"
#include "export_fixture.h"
#include "model/object_model.h"
#include "model/template.h"
#include "support/json_value.h"
#include "support/node_tool.h"

#include <array>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace kv::exptest {
namespace {

namespace fs = std::filesystem;
using jsontest::JsonValue;
using jsontest::parseJson;
using nodetest::nodeFolder;
using nodetest::quoted;

/// The built-in helicopter with a sound point for its engine added.
model::ObjectRecord helicopter() {
    using namespace model;
    ObjectRecord r;
    resetObject(r);
    r.vehicleType = kVehicleHelicopter;
    applyTemplate(r);
    const int sound = addEffector(r, kEffectorSound, "Engine");
    auto& s = r.effectors[static_cast<std::size_t>(sound)];
    s.drivers = {0, 0, 0, 62, 0, 0};
    s.offsets = {1.0f, 2.0f, 3.0f, 0.0f, 0.0f, 0.0f};
    s.scales = {0.0f, 0.0f, 0.0f, 1.0f, 0.0f, 0.0f};
    return r;
}

using Quaternion = std::array<double, 4>; // x, y, z, w

/// Rotation of `degrees` about axis 0 (x), 1 (y) or 2 (z).
Quaternion axisRotation(int axis, double degrees) {
    const double half = degrees * M_PI / 360.0;
    Quaternion q{0.0, 0.0, 0.0, std::cos(half)};
    q[static_cast<std::size_t>(axis)] = std::sin(half);
    return q;
}

class BvhReaderCheck : public ExportTest {};

TEST_F(BvhReaderCheck, ThreeJsLoaderReadsJointsFramesAndChannels) {
    if (const std::string why = nodetest::unavailableReason("three"); !why.empty())
        GTEST_SKIP() << why;
    const fs::path node = nodetest::findNode();

    const auto motion = writeMotion(helicopter(), linearMotion(2.0f, 1.0f / 30.0f), "HeliRun.kvm");
    const fs::path bvh = dir / "HeliRun.bvh";
    options.feetPerUnit = 1.0f;
    options.rightHanded = true;
    ASSERT_TRUE(exp::exportBvh(motion, bvh, exp::motionTitle(motion), options, slot(), log));

    const std::vector<int> frames = {0, 1, 17, 45, 59};
    std::string command =
        quoted(node) + " " + quoted(nodeFolder() / "bvh_check.mjs") + " " + quoted(bvh);
    for (int f : frames)
        command += " " + std::to_string(f);
    int status = 0;
    const std::string output = nodetest::runCommand(command + " 2>&1", status);
    ASSERT_EQ(status, 0) << output;
    const auto parsed = parseJson(output);
    ASSERT_TRUE(parsed.has_value()) << output;
    const JsonValue& result = *parsed;
    EXPECT_TRUE(result["problems"].items.empty()) << output;

    std::vector<std::string> bones;
    for (const auto& b : result["bones"].items)
        bones.push_back(b.text);
    std::vector<std::string> expectedBones = {"HeliRun.CG", "HeliRun.CG.XRot", "HeliRun.CG.ZRot"};
    const auto chain = [&](const std::string& name) {
        for (const char* suffix : {"", ".XRot", ".ZRot"})
            expectedBones.push_back(name + suffix);
    };
    chain("HeliRun.MainRotorHub");
    for (int b = 1; b <= 4; ++b)
        chain("HeliRun.MainRotorBlade" + std::to_string(b));
    chain("HeliRun.TailRotorHub");
    for (int b = 1; b <= 4; ++b)
        chain("HeliRun.TailRotorBlade" + std::to_string(b));
    expectedBones.push_back("HeliRun.Sound.Engine");
    EXPECT_EQ(bones, expectedBones);
    EXPECT_EQ(result["frameCount"].number, 60.0);
    EXPECT_NEAR(result["frameTime"].number, 1.0 / 30.0, 1e-6);

    const JsonValue& tracks = result["tracks"];
    const auto expectTrack = [&](const std::string& track, std::size_t k,
                                 const std::vector<double>& expected) {
        const JsonValue& v = tracks[track][k];
        ASSERT_EQ(v.items.size(), expected.size()) << track << " frame " << frames[k];
        for (std::size_t i = 0; i < expected.size(); ++i) {
            EXPECT_NEAR(v[i].number, expected[i], 2e-4 * std::max(1.0, std::abs(expected[i])))
                << track << " frame " << frames[k] << " value " << i;
        }
    };
    const auto expectRotation = [&](const std::string& bone, std::size_t k, int axis, double deg) {
        const Quaternion q = axisRotation(axis, deg);
        expectTrack(bone + ".quaternion", k, {q[0], q[1], q[2], q[3]});
    };

    for (std::size_t k = 0; k < frames.size(); ++k) {
        const int m = frames[k];
        if (m == 0) {
            for (const auto& bone : expectedBones) {
                expectTrack(bone + ".position", k, {0.0, 0.0, 0.0});
                expectTrack(bone + ".quaternion", k, {0.0, 0.0, 0.0, 1.0});
            }
            continue;
        }
        const double t = static_cast<double>(static_cast<float>(m) * 0.033333335f);
        const model::MotionFrame f = linearFrame(static_cast<float>(t));
        const double ftPerM = 3.2808;
        // The centre of gravity: right-hand axes, feet.
        expectTrack("HeliRun.CG.position", k,
                    {-f[model::kFrameEast] * ftPerM, -f[model::kFrameDown] * ftPerM,
                     f[model::kFrameNorth] * ftPerM});
        expectRotation("HeliRun.CG", k, 1, -f[model::kFrameYaw]);
        expectRotation("HeliRun.CG.XRot", k, 0, -f[model::kFramePitch]);
        expectRotation("HeliRun.CG.ZRot", k, 2, f[model::kFrameRoll]);
        // The main rotor hub sits 7 ft above the centre of gravity.
        expectTrack("HeliRun.MainRotorHub.position", k, {0.0, 7.0, 0.0});
        // Blades turn with the rotor from their rest azimuth, flap at it and
        // take the blade pitch as roll.
        for (int b = 1; b <= 4; ++b) {
            const std::string blade = "HeliRun.MainRotorBlade" + std::to_string(b);
            const double azimuth = 90.0 * (b - 1);
            const double rotor = f[model::kFrameMainRotor];
            const double psi = (rotor + azimuth) * M_PI / 180.0;
            const double flap = std::sin(psi) * f[model::kFrameFlapSin] +
                                std::cos(psi) * f[model::kFrameFlapCos] + f[model::kFrameConing];
            expectRotation(blade, k, 1, -(azimuth + rotor));
            expectRotation(blade + ".XRot", k, 0, -flap);
            expectRotation(blade + ".ZRot", k, 2, f[model::kFrameMainPitch]);
        }
        for (int b = 1; b <= 4; ++b) {
            const std::string blade = "HeliRun.TailRotorBlade" + std::to_string(b);
            expectRotation(blade, k, 1, -(90.0 * (b - 1) + f[model::kFrameTailRotor]));
            expectRotation(blade + ".ZRot", k, 2, f[model::kFrameTailPitch]);
        }
        expectRotation("HeliRun.TailRotorHub.ZRot", k, 2, 90.0);
        expectTrack("HeliRun.TailRotorHub.position", k, {-0.75, 4.5, -27.5});
        // The sound point: raw values, the tachometer fraction as its roll.
        expectTrack("HeliRun.Sound.Engine.position", k, {1.0, 2.0, 3.0});
        expectRotation("HeliRun.Sound.Engine", k, 0, f[model::kFrameTachometer]);
    }
}

} // namespace
} // namespace kv::exptest
