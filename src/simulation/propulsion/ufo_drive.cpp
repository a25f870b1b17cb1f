#include "simulation/propulsion/ufo_drive.h"

#include <algorithm>
#include <cmath>

namespace kv::sim {

namespace {

/// Stiffness of the path hold (ft/s^2 per rad of angle of attack).
constexpr float kPathHoldGain = 1000.0f;
/// Bandwidth of the roll and pitch rate loops (1/s) and the rate per unit
/// channel they command (rad/s).
constexpr float kRateLoopGain = 5.0f;
constexpr float kCommandedRate = 3.0f;
/// Yaw loop gains on the sideslip rate (1/s) and the sideslip (1/s^2).
constexpr float kSlipRateGain = 10.0f;
constexpr float kSlipGain = 20.0f;
/// Largest sideslip rate the yaw loop uses (rad/s, 40 deg/s).
constexpr float kMaxSlipRate = 0.6981317f;

} // namespace

float ufoTargetSpeed(const SimObject& obj) {
    const float target = obj.engine.power * obj.controls.channels[kThrottle] * kFpsPerKnot;
    return obj.controls.transmission == kReverse ? -target : target;
}

void ufoDrive(const BodyState& state, SimObject& obj) {
    const float m = obj.mass;
    const float target = ufoTargetSpeed(obj);
    ForceSet& set = obj.forces.propulsion;
    const ControlBlock& c = obj.controls;
    obj.engine.tachometer = std::clamp(c.channels[kThrottle], 0.0f, 1.0f);

    if (c.pilotStatus != 0) {
        set.force = {m * target, 0.0f, 0.0f};
        set.moment = {};
        return;
    }

    const float u = obj.airVelocity[0];
    const float w = obj.airVelocity[2];
    const float pathAngle = std::atan2(w, std::max(std::fabs(u), kUfoPathHoldMinSpeed));
    const float g = obj.propulsionSettings.gravity;
    const float p = state.rates[0], q = state.rates[1], r = state.rates[2];

    set.force = {m * (target - u), 0.0f,
                 -m * g * std::cos(obj.pitch) * std::cos(obj.roll) - kPathHoldGain * m * pathAngle};

    const float ixx = obj.inertia[0], iyy = obj.inertia[4], izz = obj.inertia[8];
    const float slipRate = std::clamp(obj.betaDot, -kMaxSlipRate, kMaxSlipRate);
    float yaw = izz * (kSlipRateGain * slipRate + kSlipGain * obj.beta);
    if (u < 0.0f) {
        yaw = -yaw;
    }
    set.moment = {ixx * kRateLoopGain * (kCommandedRate * c.channels[kAileron] - p),
                  iyy * kRateLoopGain *
                      (kCommandedRate * c.channels[kElevator] + std::sin(obj.roll) * r - q),
                  yaw};
}

} // namespace kv::sim
