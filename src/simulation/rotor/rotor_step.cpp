#include "simulation/rotor/rotor_step.h"

#include "common/message_wrap.h"
#include "simulation/compute_derivatives.h"
#include "simulation/rotor/rotor_derivatives.h"
#include "simulation/step_object.h"

#include <algorithm>

namespace kv::sim {

namespace {

RotorInputs rotorInputs(const SimObject& obj, const Vec3& airVelocity, const Vec3& rates) {
    RotorInputs in;
    in.time = obj.simTime;
    in.mass = obj.mass;
    in.inertia = {obj.inertia[0], obj.inertia[4], obj.inertia[8]};
    in.velocity = airVelocity;
    in.rates = rates;
    in.gravity = obj.propulsionSettings.gravity;
    return in;
}

float clampFlap(float angle) {
    return std::clamp(angle, -kRotorFlapChannelLimit, kRotorFlapChannelLimit);
}

void predict(SimObject& obj, const RotorInputs& in) {
    RotorModel& rotor = obj.rotor;
    rotor.predicted = rotor.x;
    RotorDerivatives(in, rotor.cursor, obj.controls, rotor.actuators, rotor.predicted,
                     rotor.stage1Rate, rotor.stage1Forces);
    obj.forces.propulsion = rotor.stage1Forces;

    const double dt = static_cast<double>(obj.propulsionSettings.dt);
    for (std::size_t i = 0; i < rotor.x.size(); ++i) {
        const double d = static_cast<double>(rotor.stage1Rate[i]);
        if (isUnstableDerivative(d)) {
            rotor.unstableReportPending = true;
            break;
        }
        rotor.predicted[i] = static_cast<float>(static_cast<double>(rotor.predicted[i]) + dt * d);
    }
}

void correct(SimObject& obj, const RotorInputs& in) {
    RotorModel& rotor = obj.rotor;
    RotorState rate{};
    ForceSet discarded;
    RotorDerivatives(in, rotor.cursor, obj.controls, rotor.actuators, rotor.predicted, rate,
                     discarded);
    obj.forces.propulsion = rotor.stage1Forces;

    const double dt = static_cast<double>(obj.propulsionSettings.dt);
    for (std::size_t i = 0; i < rotor.x.size(); ++i) {
        const double a = static_cast<double>(rotor.stage1Rate[i]);
        const double b = static_cast<double>(rate[i]);
        if (isUnstableDerivative(a) || isUnstableDerivative(b)) {
            rotor.unstableReportPending = true;
            break;
        }
        rotor.x[i] = static_cast<float>(static_cast<double>(rotor.x[i]) + dt * (a + b) * 0.5);
    }

    const PropulsionSettings& settings = obj.propulsionSettings;
    ControlBlock& c = obj.controls;
    c.mainRotorAngle += settings.dt * settings.rotorChannelRate;
    c.tailRotorAngle += settings.dt * 1.0f * settings.rotorChannelRate;
    c.coning = clampFlap(rotor.x[0]);
    c.flapCos = clampFlap(rotor.x[1]);
    c.flapSin = clampFlap(-rotor.x[2]);
    obj.engine.tachometer = (rotor.x[10] + 40.0f) / 120.0f;
}

} // namespace

void setUpRotor(RotorModel& rotor) {
    rotor = RotorModel{};
}

void HelicopterRotor(int stage, SimObject& obj, const Vec3& airVelocity, const Vec3& rates) {
    RotorModel& rotor = obj.rotor;
    // Frame time rises once per stepped frame, so the run's first frame is
    // the one whose time the first evaluation after set-up saw.
    if (!rotor.started) {
        rotor.started = true;
        rotor.firstFrameTime = obj.frameTime;
    }
    if (obj.frameTime == rotor.firstFrameTime) {
        rotor.x.fill(0.0f);
    }

    const RotorInputs in = rotorInputs(obj, airVelocity, rates);
    if (stage == kPredictorStage) {
        predict(obj, in);
    } else {
        correct(obj, in);
    }
}

void reportRotorInstability(SimObject& obj, const StepContext& ctx) {
    if (!obj.rotor.unstableReportPending) {
        return;
    }
    obj.rotor.unstableReportPending = false;
    showWrappedMessage(ctx.messages, kRotorUnstableMessage);
    ctx.stop = true;
}

} // namespace kv::sim
