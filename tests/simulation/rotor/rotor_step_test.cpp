#include "rotor_fixtures.h"
#include "simulation/frame_record.h"
#include "simulation/rotor/rotor_derivatives.h"
#include "simulation/step_object.h"

#include <cmath>
#include <gtest/gtest.h>
#include <limits>

namespace kv::sim {
namespace {

using test::HelicopterRig;

RotorInputs inputsOf(const SimObject& obj) {
    RotorInputs in;
    in.time = obj.simTime;
    in.mass = obj.mass;
    in.inertia = {obj.inertia[0], obj.inertia[4], obj.inertia[8]};
    in.velocity = obj.airVelocity;
    in.rates = obj.state.rates;
    in.gravity = obj.propulsionSettings.gravity;
    return in;
}

/// The rotor's trapezoidal step worked independently: predictor and
/// corrector derivatives of the model, accumulated in double precision.
RotorState workedStep(const SimObject& obj, const RotorState& x0, ForceSet& stage1Forces) {
    const double dt = HelicopterRig::kDt;
    ControlBlock controls = obj.controls;
    RotorActuators actuators{};
    TableCursor cursor;
    RotorState x = x0, d1{}, d2{};
    RotorDerivatives(inputsOf(obj), cursor, controls, actuators, x, d1, stage1Forces);
    RotorState predicted = x;
    for (std::size_t i = 0; i < x.size(); ++i) {
        predicted[i] = static_cast<float>(predicted[i] + dt * d1[i]);
    }
    ForceSet unused;
    RotorDerivatives(inputsOf(obj), cursor, controls, actuators, predicted, d2, unused);
    RotorState out = x0;
    for (std::size_t i = 0; i < x.size(); ++i) {
        out[i] = static_cast<float>(out[i] + dt * (static_cast<double>(d1[i]) + d2[i]) * 0.5);
    }
    return out;
}

TEST(RotorStep, AdvancesTheStateByTheTrapezoidalRule) {
    HelicopterRig rig;
    rig.leaveFirstFrame();
    rig.obj.airVelocity = {20.0f, -3.0f, 1.5f};
    rig.obj.state.rates = {0.05f, -0.02f, 0.1f};
    rig.obj.simTime = 0.3f;
    RotorState x{0.01f,  -0.002f, 0.003f, 0.1f,  -0.05f, 0.02f, 0.0f,   0.4f,
                 0.002f, 0.3f,    2.0f,   0.01f, 0.005f, -0.1f, 0.002f, 0.05f};
    rig.obj.rotor.x = x;
    rig.obj.controls.channels[kLateralCyclic] = 0.1f;
    rig.obj.controls.channels[kCollective] = 0.3f;
    rig.obj.controls.channels[kPedal] = -0.2f;

    ForceSet expectedForces;
    const RotorState expected = workedStep(rig.obj, x, expectedForces);

    HelicopterRotor(1, rig.obj, rig.obj.airVelocity, rig.obj.state.rates);
    const ForceSet stage1 = rig.obj.forces.propulsion;
    rig.obj.forces.propulsion.clear(); // as the propulsion step does before the rotor
    HelicopterRotor(2, rig.obj, rig.obj.airVelocity, rig.obj.state.rates);

    for (std::size_t i = 0; i < x.size(); ++i) {
        EXPECT_EQ(rig.obj.rotor.x[i], expected[i]) << "x" << i;
        if (i != 6) {
            EXPECT_NE(rig.obj.rotor.x[i], x[i]) << "x" << i << " did not move";
        }
    }
    // The algebraic term is evaluated, never integrated.
    EXPECT_EQ(rig.obj.rotor.x[6], 0.0f);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(stage1.force[i], expectedForces.force[i]);
        EXPECT_EQ(stage1.moment[i], expectedForces.moment[i]);
        // The corrector stage hands the body the predictor's forces again.
        EXPECT_EQ(rig.obj.forces.propulsion.force[i], stage1.force[i]);
        EXPECT_EQ(rig.obj.forces.propulsion.moment[i], stage1.moment[i]);
    }
    EXPECT_FALSE(rig.obj.rotor.unstableReportPending);
}

// A worked element by hand: with only the rotor-speed deviation x9 = 1 at
// hover, x8' = x9 and x9' = -0.3331*x9 + (terms of states still 0), so after
// one step x8 = dt*(1 + (1 - 0.3331*dt))/2 to first order.
TEST(RotorStep, WorkedRotorSpeedIntegral) {
    HelicopterRig rig;
    rig.leaveFirstFrame();
    rig.obj.simTime = 0.0f;
    rig.obj.rotor.x[9] = 1.0f;
    rig.rotorStep();
    const double dt = HelicopterRig::kDt;
    EXPECT_NEAR(rig.obj.rotor.x[8], dt * (2.0 - 0.3331 * dt) / 2.0, 1e-7);
    EXPECT_NEAR(rig.obj.rotor.x[9], 1.0 - 0.3331 * dt, 2e-4);
    // The inflow responds at 20.02 per unit x9 (plus 1.4*x9').
    EXPECT_NEAR(rig.obj.rotor.x[7], dt * (20.02 - 1.4 * 0.3331), 0.02);
}

TEST(RotorStep, TheFirstFrameRestartsFromZeroOnEveryCall) {
    HelicopterRig rig;
    rig.obj.rotor.x.fill(0.5f); // left over from an earlier run
    rig.nextFrame();
    rig.rotorStep();
    for (float v : rig.obj.rotor.x) {
        EXPECT_EQ(v, 0.0f); // trim: zero derivative from a zero state
    }
    // A later sub-step of the same frame starts again from 0.
    rig.obj.rotor.x[9] = 3.0f;
    HelicopterRotor(1, rig.obj, rig.obj.airVelocity, rig.obj.state.rates);
    EXPECT_EQ(rig.obj.rotor.predicted[9], 0.0f);
    HelicopterRotor(2, rig.obj, rig.obj.airVelocity, rig.obj.state.rates);
    // From the next frame on the state carries over.
    rig.nextFrame();
    rig.obj.rotor.x[9] = 3.0f;
    HelicopterRotor(1, rig.obj, rig.obj.airVelocity, rig.obj.state.rates);
    EXPECT_NE(rig.obj.rotor.predicted[9], 0.0f);
}

TEST(RotorStep, ChannelsAndTachometer) {
    HelicopterRig rig;
    // 8 blades (4 main, 4 tail) at 30 frames/s.
    EXPECT_FLOAT_EQ(rig.obj.propulsionSettings.rotorChannelRate,
                    37.69911184307748f / (8.0f / 30.0f * 5.0f));
    EXPECT_EQ(rotorChannelRate(0, 1.0f / 30.0f), 0.0f);

    rig.nextFrame();
    rig.rotorStep();
    EXPECT_FLOAT_EQ(rig.obj.engine.tachometer, 1.0f / 3.0f);
    const float turn = HelicopterRig::kDt * rig.obj.propulsionSettings.rotorChannelRate;
    EXPECT_EQ(rig.obj.controls.mainRotorAngle, turn);
    EXPECT_EQ(rig.obj.controls.tailRotorAngle, turn);
    rig.rotorStep();
    EXPECT_FLOAT_EQ(rig.obj.controls.mainRotorAngle, 2.0f * turn);

    rig.nextFrame();
    rig.obj.rotor.x[0] = 1.0f;
    rig.obj.rotor.x[1] = -0.5f;
    rig.obj.rotor.x[2] = 0.05f;
    rig.obj.rotor.x[10] = 20.0f;
    rig.rotorStep();
    const RotorState& x = rig.obj.rotor.x;
    EXPECT_EQ(rig.obj.controls.coning, 0.17453292f);
    EXPECT_EQ(rig.obj.controls.flapCos, -0.17453292f);
    EXPECT_EQ(rig.obj.controls.flapSin, -x[2]);
    EXPECT_NEAR(rig.obj.controls.flapSin, -0.05f, 0.02f);
    EXPECT_EQ(rig.obj.engine.tachometer, (x[10] + 40.0f) / 120.0f);

    // The frame record carries the angles in degrees and the tachometer as is.
    model::MotionFrame frame{};
    fillFrameRecord(rig.obj, frame);
    const ControlBlock& c = rig.obj.controls;
    EXPECT_FLOAT_EQ(frame[model::kFrameConing], 10.0f);
    EXPECT_FLOAT_EQ(frame[model::kFrameFlapCos], -10.0f);
    EXPECT_FLOAT_EQ(frame[model::kFrameFlapSin], -x[2] * 57.29578f);
    EXPECT_FLOAT_EQ(frame[model::kFrameMainRotor], c.mainRotorAngle * 57.29578f);
    EXPECT_FLOAT_EQ(frame[model::kFrameTailRotor], c.tailRotorAngle * 57.29578f);
    EXPECT_FLOAT_EQ(frame[model::kFrameMainPitch], c.mainRotorPitch * 57.29578f);
    EXPECT_FLOAT_EQ(frame[model::kFrameTailPitch], c.tailRotorPitch * 57.29578f);
    EXPECT_EQ(frame[model::kFrameTachometer], rig.obj.engine.tachometer);
}

TEST(RotorStep, FlapChannelsStayWithinTenDegrees) {
    for (float flap : {-50.0f, -0.2f, 0.2f, 3.0f}) {
        HelicopterRig rig;
        rig.leaveFirstFrame();
        rig.obj.rotor.x[0] = flap;
        rig.obj.rotor.x[1] = -flap;
        rig.obj.rotor.x[2] = flap;
        rig.rotorStep();
        for (float channel :
             {rig.obj.controls.coning, rig.obj.controls.flapCos, rig.obj.controls.flapSin}) {
            EXPECT_LE(std::fabs(channel), 0.17453292f) << "flapping " << flap;
        }
    }
}

TEST(RotorStep, SetUpCountsBladesAndClearsTheState) {
    HelicopterRig rig;
    rig.obj.rotor.x.fill(1.0f);
    rig.obj.rotor.unstableReportPending = true;
    rig.record.effectors[2].kind = model::kEffectorBasic;
    rig.obj.propulsionSettings = propulsionSettingsFrom(rig.record);
    setPropulsionRunValues(rig.obj.propulsionSettings, HelicopterRig::kDt, 1.0f / 60.0f,
                           rig.environment.gravity);
    setUpRotor(rig.obj.rotor);
    EXPECT_EQ(rig.obj.propulsionSettings.bladeCount, 7);
    EXPECT_FLOAT_EQ(rig.obj.propulsionSettings.rotorChannelRate,
                    37.69911184307748f / (7.0f / 60.0f * 5.0f));
    for (float v : rig.obj.rotor.x) {
        EXPECT_EQ(v, 0.0f);
    }
    EXPECT_FALSE(rig.obj.rotor.unstableReportPending);
    EXPECT_FALSE(rig.obj.rotor.started);
}

} // namespace
} // namespace kv::sim
