// Recorded takes of the four vehicles converted to glTF as a user would
// (kestrovane-cli simulate, then convert gltf), and read back by two
// independent implementations under Node.js: the Khronos validator finds no
// error, and three.js's glTF loader sees the body where the motion file puts
// it, rotor blades that turn, and wheels that roll and steer.

#include "cli/cli_run.h"
#include "cli/gltf_rotations.h"
#include "export/effector_values.h"
#include "export/gltf_pose.h"
#include "export/joint_names.h"
#include "model/motion_file.h"
#include "model/motion_playback.h"
#include "model/object_model.h"
#include "support/file_test_support.h"
#include "support/json_value.h"
#include "support/node_tool.h"

#include <cmath>
#include <filesystem>
#include <gtest/gtest.h>
#include <numbers>

namespace kv::clitest {
namespace {

namespace fs = std::filesystem;
using jsontest::JsonValue;

/// Times (s) at which the file's animation is compared with the motion: the
/// first three fall on recorded frames (12 frames per second), the last three
/// between them.
const std::vector<double> kTimes{0.5, 1.25, 2.75, 0.54, 1.29, 2.71};

struct Take {
    const char* vehicle;
    const char* initial; ///< --initial: position (ft), attitude, rates, body velocity (ft/s)
    const char* stick;   ///< x, y held from the start
};

class GltfTakeTest : public ::testing::Test {
  protected:
    void SetUp() override {
        if (const std::string why = nodetest::unavailableReason("gltf-validator"); !why.empty())
            GTEST_SKIP() << why;
    }

    /// Records the take, converts it and returns what the Node.js check saw.
    JsonValue recordAndCheck(const Take& take, fs::path& motion,
                             const std::vector<double>& times = kTimes) {
        const fs::path script = dir_ / "controls.csv";
        writeAll(script, std::string("time,x,y,a,b,key\n0,") + take.stick + ",0,0,\n");
        motion = dir_ / (std::string(take.vehicle) + ".kvm");
        const CliResult sim =
            runCli({"simulate", "--vehicle", take.vehicle, "--initial", take.initial, "--controls",
                    script.string(), "--duration", "3", "-o", motion.string()});
        EXPECT_EQ(sim.exitCode, 0) << sim.err;
        const fs::path glb = dir_ / (std::string(take.vehicle) + ".glb");
        const CliResult convert = runCli({"convert", "gltf", motion.string()});
        EXPECT_EQ(convert.exitCode, 0) << convert.err;
        EXPECT_EQ(convert.out, glb.string() + "\n");

        std::string command = nodetest::quoted(nodetest::findNode()) + " " +
                              nodetest::quoted(nodetest::nodeFolder() / "gltf_check.mjs") + " " +
                              nodetest::quoted(glb);
        for (double t : times)
            command += " " + std::to_string(t);
        int status = 0;
        const std::string output = nodetest::runCommand(command + " 2>&1", status);
        EXPECT_EQ(status, 0) << output;
        auto parsed = jsontest::parseJson(output);
        EXPECT_TRUE(parsed.has_value()) << output;
        return parsed.value_or(JsonValue{});
    }

    filetest::ScratchDir dir_;
};

class ConvertGltfTest : public GltfTakeTest, public ::testing::WithParamInterface<Take> {};

TEST_P(ConvertGltfTest, ValidatorAndThreeJsAgreeWithTheMotion) {
    const Take& take = GetParam();
    fs::path motion;
    const JsonValue result = recordAndCheck(take, motion);
    EXPECT_EQ(result["validator"]["errors"].number, 0)
        << (result["validator"]["messages"].items.empty()
                ? std::string()
                : result["validator"]["messages"][0].text);
    EXPECT_TRUE(result["problems"].items.empty());
    EXPECT_EQ(result["meshes"].number, 1);
    EXPECT_NEAR(result["duration"].number, 3.0, 0.1);

    // The body against the motion file's own interpolation, on recorded frames
    // and between them: within 1 mm and 0.01 degree. (Between frames the file
    // turns along the great circle where the motion file interpolates each
    // Euler angle; at the rates of these takes the two part by thousandths.)
    model::MotionStore store;
    ASSERT_TRUE(store.allocate(1, 200));
    model::ObjectRecord record;
    filetest::MessageLog log;
    bool report = true;
    ASSERT_TRUE(model::loadMotion(motion, model::MotionTarget{0, &record, {}}, store, report, log));
    const std::string body = std::string(take.vehicle) + ".CG";
    const JsonValue& position = result["tracks"][body + ".position"];
    const JsonValue& attitude = result["tracks"][body + ".quaternion"];
    ASSERT_EQ(position.items.size(), kTimes.size());
    for (std::size_t i = 0; i < kTimes.size(); ++i) {
        model::MotionFrame f{};
        model::interpolateMotion(store, 0, model::kFrameFieldCount, static_cast<float>(kTimes[i]),
                                 1.0f / 12.0f, f, log);
        using namespace model;
        const exp::GltfPose expected = exp::toGltfPose(f[kFrameNorth], f[kFrameEast], f[kFrameDown],
                                                       f[kFrameRoll], f[kFramePitch], f[kFrameYaw]);
        for (std::size_t k = 0; k < 3; ++k)
            EXPECT_NEAR(position[i][k].number, expected.translation[k], 0.001) << kTimes[i];
        const double off = angleBetween(quaternionOf(attitude[i]), expected.rotation);
        EXPECT_LT(off, 0.01) << kTimes[i];
        std::printf("%s at %.2f s: body (%.3f, %.3f, %.3f) m, attitude off by %.5f deg\n",
                    take.vehicle, kTimes[i], position[i][0].number, position[i][1].number,
                    position[i][2].number,
                    angleBetween(quaternionOf(attitude[i]), expected.rotation));
    }
}

const JsonValue& track(const JsonValue& result, const std::string& name) {
    const JsonValue& t = result["tracks"][name];
    EXPECT_FALSE(t.isNull()) << "no track " << name;
    return t;
}

TEST_F(GltfTakeTest, RotorBladesTurnAndWheelsRollAndSteer) {
    // The helicopter's main and tail rotor blades spin.
    fs::path motion;
    const JsonValue heli =
        recordAndCheck({"helicopter", "0,0,-4,0,0,0,0,0,0,0,0,0", "0,0"}, motion);
    for (const char* blade : {"helicopter.MainRotorBlade1", "helicopter.TailRotorBlade1"}) {
        const JsonValue& q = track(heli, std::string(blade) + ".quaternion");
        ASSERT_EQ(q.items.size(), kTimes.size()) << blade;
        EXPECT_GT(angleBetween(quaternionOf(q[0]), quaternionOf(q[1])), 5.0) << blade;
    }

    // The car rolls forward with the stick half right: its wheels turn about
    // their axles, and the front axles turn with the steering while the rear
    // ones stay square to the body (-X is the body's right in glTF).
    const JsonValue car = recordAndCheck({"car", "0,0,-2.5,0,0,0,0,0,0,20,0,0", "0.5,0"}, motion);
    for (const char* tire : {"car.FrontLeftTire", "car.RearRightTire"}) {
        const JsonValue& q = track(car, std::string(tire) + ".quaternion");
        ASSERT_EQ(q.items.size(), kTimes.size()) << tire;
        const auto ahead0 = rotate(quaternionOf(q[0]), {0, 0, 1});
        const auto ahead1 = rotate(quaternionOf(q[1]), {0, 0, 1});
        const double turned = std::acos(std::clamp(
            ahead0[0] * ahead1[0] + ahead0[1] * ahead1[1] + ahead0[2] * ahead1[2], -1.0, 1.0));
        EXPECT_GT(turned * 180.0 / std::numbers::pi, 5.0) << tire << " does not roll";
    }
    const auto axleSteer = [&](const char* tire) {
        const auto axle = rotate(quaternionOf(track(car, tire)[1]), {-1, 0, 0});
        // A left tire is turned half round to face outwards: its axle may
        // point either way along the body's right.
        const double a = std::atan2(axle[2], -axle[0]) * 180.0 / std::numbers::pi;
        return a > 90.0 ? a - 180.0 : (a < -90.0 ? a + 180.0 : a);
    };
    const double front = axleSteer("car.FrontLeftTire.quaternion");
    const double rear = axleSteer("car.RearLeftTire.quaternion");
    std::printf("car at %.2f s: front axle steered %.2f deg, rear %.2f deg\n", kTimes[1], front,
                rear);
    EXPECT_GT(std::fabs(front), 2.0);
    EXPECT_LT(std::fabs(rear), 0.5);
}

TEST_F(GltfTakeTest, FastWheelsTurnAsTheMotionBetweenFrames) {
    // The car at 110 mph on 12 frames a second turns its wheels about 14 rad
    // from one frame to the next. At 20 times between two frames every
    // wheel's attitude in three.js matches the motion file's interpolated
    // angle, and so turns the right way.
    constexpr double kPeriod = 1.0 / 12.0;
    constexpr double kStart = 30 * kPeriod;
    std::vector<double> times;
    for (int k = 0; k < 20; ++k)
        times.push_back(kStart + (k + 0.5) / 20.0 * kPeriod);
    fs::path motion;
    const JsonValue result =
        recordAndCheck({"car", "0,0,-2.5,0,0,0,0,0,0,161.3,0,0", "0,-1"}, motion, times);
    EXPECT_EQ(result["validator"]["errors"].number, 0);

    model::MotionStore store;
    ASSERT_TRUE(store.allocate(1, 200));
    model::ObjectRecord record;
    filetest::MessageLog log;
    bool report = true;
    ASSERT_TRUE(model::loadMotion(motion, model::MotionTarget{0, &record, {}}, store, report, log));
    int wheels = 0;
    for (int i = 0; i < record.effectorCount; ++i) {
        const model::EffectorRecord& e = record.effectors[static_cast<std::size_t>(i)];
        const std::string name = exp::effectorJointName("car", e);
        if (name.find("Tire") == std::string::npos)
            continue;
        ++wheels;
        const JsonValue& q = track(result, name + ".quaternion");
        ASSERT_EQ(q.items.size(), times.size()) << name;
        double worst = 0.0, largestStep = 0.0;
        std::array<float, 6> previous{};
        for (std::size_t k = 0; k < times.size(); ++k) {
            model::MotionFrame f{};
            model::interpolateMotion(store, 0, model::kFrameFieldCount,
                                     static_cast<float>(times[k]), 1.0f / 12.0f, f, log);
            const std::array<float, 6> v = exp::effectorValues(e, f);
            const exp::GltfPose expected = exp::toGltfPose(v[0], v[1], v[2], v[3], v[4], v[5]);
            worst = std::max(worst, angleBetween(quaternionOf(q[k]), expected.rotation));
            if (k > 0) {
                for (std::size_t a = 3; a < 6; ++a)
                    largestStep = std::max(largestStep, double{std::fabs(v[a] - previous[a])});
            }
            previous = v;
        }
        std::printf("%s: %.1f deg between samples, off by at most %.4f deg\n", name.c_str(),
                    largestStep, worst);
        // The take is fast enough that a frame's turn is many quarter turns.
        EXPECT_GT(largestStep * 20.0, 360.0) << name;
        EXPECT_LT(worst, 1.0) << name;
    }
    EXPECT_EQ(wheels, 4);
}

INSTANTIATE_TEST_SUITE_P(
    Templates, ConvertGltfTest,
    ::testing::Values(Take{"car", "0,0,-2.5,0,0,0,0,0,0,30,0,0", "0.4,-0.2"},
                      Take{"motorcycle", "0,0,-2.5,0,0,0,0,0,0,30,0,0", "0.1,-0.2"},
                      Take{"aircraft", "0,0,-5000,0,0,0,0,0,0,400,0,0", "0.3,0.1"},
                      Take{"helicopter", "0,0,-4,0,0,0,0,0,0,0,0,0", "0.1,-0.1"}),
    [](const auto& param) { return std::string(param.param.vehicle); });

} // namespace
} // namespace kv::clitest
