#include "rotor_fixtures.h"
#include "simulation/step_object.h"

#include <gtest/gtest.h>
#include <limits>
#include <string>

namespace kv::sim {
namespace {

using test::HelicopterRig;

bool sameBody(const BodyState& a, const BodyState& b) {
    return a.latitude == b.latitude && a.longitude == b.longitude && a.altitude == b.altitude &&
           a.velocity == b.velocity && a.rates == b.rates && a.quat == b.quat;
}

struct PredictorCase {
    const char* name;
    std::size_t element; ///< state element whose value is set
    float value;
    std::size_t failing; ///< first derivative element that fails
};

// Coning far below its trim gives x3' above 10000; a filter state that is not
// a number (or is infinite) makes x12' so too, without touching the forces.
TEST(RotorInstability, PredictorStageStopsTheRunBeforeTheCorrector) {
    const PredictorCase cases[] = {
        {"coning -20 rad", 0, -20.0f, 3},
        {"NaN filter state", 13, std::numeric_limits<float>::quiet_NaN(), 12},
        {"infinite filter state", 13, std::numeric_limits<float>::infinity(), 12},
    };
    for (const PredictorCase& c : cases) {
        SCOPED_TRACE(c.name);
        HelicopterRig rig;
        rig.leaveFirstFrame();
        RotorState& x = rig.obj.rotor.x;
        x[3] = 0.5f; // coning rate: x0' = 0.5, advanced before the failing element
        x[c.element] = c.value;
        const RotorState before = x;
        const BodyState body = rig.obj.state;

        StepObject(rig.obj, rig.ctx);

        ASSERT_EQ(rig.messages.messages.size(), 1u);
        EXPECT_EQ(rig.messages.messages[0], "The helicopter simulation became unstable.");
        EXPECT_TRUE(rig.stop);
        EXPECT_FALSE(rig.obj.rotor.unstableReportPending);
        const RotorState& predicted = rig.obj.rotor.predicted;
        EXPECT_EQ(predicted[0],
                  static_cast<float>(before[0] + static_cast<double>(HelicopterRig::kDt) * 0.5));
        EXPECT_EQ(predicted[c.failing], before[c.failing]);
        EXPECT_EQ(predicted[15], before[15]);
        // Neither the rotor nor the body was advanced: the step ended after
        // its predictor stage.
        for (std::size_t i = 0; i < x.size(); ++i) {
            if (i != 13 || c.element != 13) {
                EXPECT_EQ(x[i], before[i]) << "x" << i;
            }
        }
        EXPECT_TRUE(sameBody(rig.obj.state, body));
        EXPECT_EQ(rig.obj.controls.mainRotorAngle,
                  0.0f + HelicopterRig::kDt * rig.obj.propulsionSettings.rotorChannelRate);
    }
}

TEST(RotorInstability, ALargeNegativeDerivativeIsNoInstability) {
    HelicopterRig rig;
    rig.leaveFirstFrame();
    rig.obj.rotor.x[12] = 100.0f; // x13' = -356*100
    StepObject(rig.obj, rig.ctx);
    EXPECT_TRUE(rig.messages.messages.empty());
    EXPECT_FALSE(rig.stop);
    EXPECT_LT(rig.obj.rotor.stage1Rate[13], -30000.0f);
    EXPECT_LT(rig.obj.rotor.x[13], -100.0f);
}

// With x12 = -190 and x13 = 9999 at hover, x12' = x13 = 9999 passes, x13' =
// 356*190 - 6.62*9999 is about +1447, so the predicted x13, and with it the
// corrector's x12', is above 10000.
TEST(RotorInstability, CorrectorStageKeepsWhatItAdvancedAndStillTurnsTheChannels) {
    HelicopterRig rig;
    rig.leaveFirstFrame();
    RotorState& x = rig.obj.rotor.x;
    x[3] = 0.5f;
    x[12] = -190.0f;
    x[13] = 9999.0f;
    const RotorState before = x;
    const BodyState body = rig.obj.state;
    const float angle = rig.obj.controls.mainRotorAngle;

    StepObject(rig.obj, rig.ctx);

    ASSERT_EQ(rig.messages.messages.size(), 1u);
    EXPECT_EQ(rig.messages.messages[0], "The helicopter simulation became unstable.");
    EXPECT_TRUE(rig.stop);
    EXPECT_GT(rig.obj.rotor.predicted[13], 10000.0f);
    EXPECT_NE(x[0], before[0]); // advanced before the failure
    EXPECT_NE(x[3], before[3]);
    EXPECT_EQ(x[12], before[12]);
    EXPECT_EQ(x[13], before[13]);
    EXPECT_FLOAT_EQ(rig.obj.controls.mainRotorAngle,
                    angle + HelicopterRig::kDt * rig.obj.propulsionSettings.rotorChannelRate);
    EXPECT_EQ(rig.obj.engine.tachometer, (x[10] + 40.0f) / 120.0f);
    EXPECT_EQ(rig.obj.controls.coning, x[0]);
    // The body's own step is independent of the rotor's test: it completed.
    EXPECT_FALSE(sameBody(rig.obj.state, body));
}

} // namespace
} // namespace kv::sim
