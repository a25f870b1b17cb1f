#include "simulation/propulsion/thrust_engines.h"

#include "common/unit_constants.h"
#include "common/vecmath.h"

#include <algorithm>
#include <cmath>

namespace kv::sim {

namespace {

/// Polar moment of inertia of the propeller (slug*ft^2).
constexpr float kPropellerInertia = 0.306f;
/// Three turns of the channel per five frames per blade.
constexpr float kChannelTurn = 18.84955592153874f;
/// Inclination of the jet thrust line below the body axis, and the angle
/// that places its vertical offset (deg).
constexpr float kJetTiltDeg = 5.25f;
constexpr float kJetOffsetDeg = 87.28f;
/// Offset of the jet thrust line from the centre of gravity (ft).
constexpr float kJetArm = 0.3f;
/// Reaction-control moment per unit channel, as a share of the thrust (ft).
constexpr float kVtolReactionArm = 0.5f;

float signedThrust(float thrust, const ControlBlock& c) {
    return c.transmission == kReverse ? -thrust : thrust;
}

void advancePropellerChannel(int stage, SimObject& obj) {
    if (stage != 2) {
        return;
    }
    const PropulsionSettings& s = obj.propulsionSettings;
    const float angle = obj.controls.propellerAngle + s.dt * propellerChannelRate(s);
    obj.controls.propellerAngle = std::fmod(angle, kTwoPi);
}

float propellerRpm(float throttle) {
    return kPropellerRpmRange * throttle + kPropellerIdleRpm;
}

} // namespace

float propellerEfficiency(float altitude) {
    const float h = altitude / 1000.0f;
    return 0.7f + 0.007075f * h - 0.000072f * h * h;
}

float propellerChannelRate(const PropulsionSettings& settings) {
    const int blades = std::max(settings.bladeCount, 1);
    return kChannelTurn / (static_cast<float>(blades) * settings.framePeriod * 5.0f);
}

void propellerEngine(int stage, const BodyState& state, SimObject& obj) {
    const ControlBlock& c = obj.controls;
    const EngineState& e = obj.engine;
    const float t = c.channels[kThrottle];
    float thrust = propellerEfficiency(state.altitude) * e.power * e.powerFactor * t *
                   kFootPoundsPerHorsepower;
    if (std::fabs(obj.airspeed) > kPropellerStaticSpeed) {
        thrust /= obj.airspeed;
    }
    thrust = signedThrust(thrust, c);

    const float rpm = propellerRpm(t);
    const Vec3 spin{kPropellerInertia * rpm * kRadPerSecPerRpm, 0.0f, 0.0f};
    ForceSet& set = obj.forces.propulsion;
    set.force = {thrust, 0.0f, 0.0f};
    VecCross(state.rates, spin, set.moment);
    obj.engine.tachometer = rpm / kPropellerFullScaleRpm;
    advancePropellerChannel(stage, obj);
}

void jetEngine(const BodyState& state, SimObject& obj) {
    const ControlBlock& c = obj.controls;
    const EngineState& e = obj.engine;
    const float t = std::clamp(c.channels[kThrottle], 0.0f, 1.0f);
    const float lapse = std::max(0.0f, 1.0f - state.altitude / kJetCeiling);
    const float thrust = signedThrust(2.0f * t * e.power * e.powerFactor * lapse, c);

    const float cosTilt = std::cos(kJetTiltDeg * kRadPerDeg);
    const float down = std::sin(kJetOffsetDeg * kRadPerDeg) * std::sin(kJetTiltDeg * kRadPerDeg);
    ForceSet& set = obj.forces.propulsion;
    set.force = {cosTilt * thrust, 0.0f, down * thrust};
    set.moment = {0.0f, (-kJetArm * cosTilt + kJetArm * down) * thrust, 0.0f};
    obj.engine.tachometer = t;
}

void ductedFanEngine(int stage, SimObject& obj) {
    const ControlBlock& c = obj.controls;
    const EngineState& e = obj.engine;
    const float t = c.channels[kThrottle];
    const float thrust = signedThrust(e.power * e.powerFactor * t, c);
    const float vector = c.channels[kAileron] * obj.propulsionSettings.aileronLimit * kRadPerDeg;

    ForceSet& set = obj.forces.propulsion;
    set.force = {thrust * std::cos(vector), -thrust * std::sin(vector), 0.0f};
    const Vec3 arm{-kDuctedFanArm, 0.0f, 0.0f};
    VecCross(arm, set.force, set.moment);
    obj.engine.tachometer = propellerRpm(t) / kPropellerFullScaleRpm;
    advancePropellerChannel(stage, obj);
}

void vtolJetEngine(const BodyState& state, SimObject& obj) {
    const ControlBlock& c = obj.controls;
    const EngineState& e = obj.engine;
    const float t = c.channels[kThrottle];
    const float lapse = std::max(0.0f, 1.0f - state.altitude / kVtolJetCeiling);
    const float thrust = signedThrust(lapse * t * e.power * e.powerFactor, c);
    const float nozzle = c.channels[kNozzle] * obj.propulsionSettings.nozzleLimit * kRadPerDeg;
    const float reaction = kVtolReactionArm * e.power * e.powerFactor;

    ForceSet& set = obj.forces.propulsion;
    set.force = {thrust * std::cos(nozzle), 0.0f, -thrust * std::sin(nozzle)};
    set.moment = {reaction * c.channels[kLateralCyclic], reaction * c.channels[kLongitudinalCyclic],
                  reaction * c.channels[kPedal]};
    obj.engine.tachometer = t;
}

void spacecraftEngine(SimObject& obj) {
    const ControlBlock& c = obj.controls;
    const EngineState& e = obj.engine;
    const float t = c.channels[kThrottle];
    const float scale = e.power * e.powerFactor;
    ForceSet& set = obj.forces.propulsion;
    set.force = {signedThrust(scale * t, c), 0.0f, 0.0f};
    set.moment = {scale * c.channels[kAileron], scale * c.channels[kElevator],
                  scale * c.channels[kPedal]};
    obj.engine.tachometer = t;
}

} // namespace kv::sim
