// Keys of animated glTF nodes: between two frames whose turn is more than a
// quarter turn, keys at the motion's own interpolation are added so that the
// short-arc interpolation of glTF turns the way the motion does; and the
// frames' angles interpolate as motion playback does.

#include "export/gltf_keys.h"

#include <array>
#include <cmath>
#include <gtest/gtest.h>
#include <limits>
#include <numbers>
#include <vector>

namespace kv::exptest {
namespace {

using model::MotionFrame;

/// A frame whose first tire has rolled `wheel` degrees (an angle that grows
/// without bound) and whose body has yawed `yaw` degrees.
MotionFrame frameAt(float time, float wheel, float yaw) {
    MotionFrame f{};
    f[model::kFrameTime] = time;
    f[model::kFrameTireRoll] = wheel;
    f[model::kFrameYaw] = yaw;
    return f;
}

/// Angle (deg) between two unit quaternions stored at `k` and `k + 4`.
double stepAngle(const std::vector<float>& q, std::size_t k) {
    double dot = 0.0;
    for (std::size_t i = 0; i < 4; ++i)
        dot += double{q[k + i]} * q[k + 4 + i];
    return 2.0 * std::acos(std::min(1.0, std::fabs(dot))) * 180.0 / std::numbers::pi;
}

/// A wheel node rolling by the first tire's roll angle.
exp::NodeMotion wheel() {
    return {[](const MotionFrame& f) {
                return exp::toGltfPose(0, 0, 0, f[model::kFrameTireRoll], 0, 0);
            },
            [](const MotionFrame& a, const MotionFrame& b) {
                return exp::attitudeChange(a[model::kFrameTireRoll], 0, 0, b[model::kFrameTireRoll],
                                           0, 0, false);
            }};
}

TEST(GltfKeys, NoRotationStepExceedsAQuarterTurn) {
    struct Case {
        const char* what;
        float rollStep; ///< deg per frame
        std::size_t keysPerFrame;
    };
    const Case cases[] = {
        {"slow wheel: keys at the frames only", 30.0f, 1},
        {"exactly a quarter turn", 90.0f, 1},
        {"just over a quarter turn", 91.0f, 2},
        {"car wheel at 110 mph, 12 fps", 830.0f, 10},
        {"backwards", -830.0f, 10},
    };
    for (const Case& c : cases) {
        std::vector<MotionFrame> frames;
        for (int k = 0; k < 4; ++k)
            frames.push_back(frameAt(k / 12.0f, c.rollStep * static_cast<float>(k), 0.0f));
        std::vector<const MotionFrame*> pointers;
        for (const MotionFrame& f : frames)
            pointers.push_back(&f);
        const exp::NodeKeys keys = exp::keyNode(pointers, wheel());
        EXPECT_EQ(keys.times.size(), 1 + 3 * c.keysPerFrame) << c.what;
        for (std::size_t k = 1; k < keys.times.size(); ++k)
            EXPECT_GT(keys.times[k], keys.times[k - 1]) << c.what;
        for (std::size_t k = 0; k + 4 < keys.rotations.size(); k += 4)
            EXPECT_LE(stepAngle(keys.rotations, k), 90.0 + 1e-3) << c.what << " key " << k / 4;
        // The added keys lie on the motion: a quarter of the way through the
        // first frame the wheel has rolled a quarter of the frame's turn.
        if (c.keysPerFrame > 1) {
            const std::size_t k = 1;
            const double h = (keys.times[k] - keys.times[0]) / (1.0 / 12.0);
            const exp::GltfPose expected = exp::toGltfPose(0, 0, 0, c.rollStep * h, 0, 0);
            double dot = 0.0;
            for (std::size_t i = 0; i < 4; ++i)
                dot += expected.rotation[i] * keys.rotations[4 * k + i];
            EXPECT_NEAR(std::fabs(dot), 1.0, 1e-6) << c.what;
        }
    }
}

TEST(GltfKeys, BodyAnglesTakeTheShortWayAndDamagedTurnsAddNothing) {
    // A heading from 170 to -170 degrees is a 20-degree turn through 180.
    EXPECT_NEAR(exp::attitudeChange(0, 0, 170, 0, 0, -170, true), 20.0, 1e-9);
    EXPECT_NEAR(exp::attitudeChange(-180, 0, 0, 180, 0, 0, true), 0.0, 1e-9);
    EXPECT_NEAR(exp::attitudeChange(0, 0, 10, 0, 0, 100, false), 90.0, 1e-9);
    const MotionFrame mid = exp::interpolateFrame(frameAt(0, 0, 170), frameAt(1, 0, -170), 0.5f);
    EXPECT_NEAR(std::fabs(mid[model::kFrameYaw]), 180.0, 1e-4);
    EXPECT_NEAR(mid[model::kFrameTime], 0.5, 1e-6);

    // A turn that is not a number keys the frames alone.
    const MotionFrame a = frameAt(0, 0, 0);
    const MotionFrame b = frameAt(1, 0, 0);
    const std::array<const MotionFrame*, 2> pointers{&a, &b};
    exp::NodeMotion motion = wheel();
    motion.turn = [](const MotionFrame&, const MotionFrame&) {
        return std::numeric_limits<double>::quiet_NaN();
    };
    EXPECT_EQ(exp::keyNode(pointers, motion).times.size(), 2u);
    // A turn past all reason is bounded.
    motion.turn = [](const MotionFrame&, const MotionFrame&) { return 1e30; };
    EXPECT_EQ(exp::keyNode(pointers, motion).times.size(),
              static_cast<std::size_t>(exp::kMaxKeysBetweenFrames) + 1);
}

} // namespace
} // namespace kv::exptest
