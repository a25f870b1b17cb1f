#include "simulation/wheeled_engine.h"

#include <algorithm>
#include <cmath>

namespace kv::sim {

int SelectGear(const WheeledEngineSpec& spec, int gear, int transmission, float rpm,
               float throttle) {
    if (transmission == kReverse) {
        return 1;
    }
    const bool kickdown = throttle > kKickdownThrottle && rpm < spec.kickdownRpm;
    const bool coastDown = throttle == 0.0f && rpm < spec.coastDownRpm;
    if ((kickdown || coastDown) && gear >= 2) {
        return gear - 1;
    }
    const bool cruiseUp = throttle < kKickdownThrottle && rpm > spec.cruiseUpRpm;
    if (gear < kTopGear && (cruiseUp || rpm > spec.forcedUpRpm)) {
        return gear + 1;
    }
    return gear;
}

void RunWheeledEngine(const WheeledEngineSpec& spec, TableCursor& cursor, SimObject& obj) {
    EngineState& engine = obj.engine;
    ControlBlock& controls = obj.controls;
    // The control block starts cleared (gear 0, whose ratio is 0 and which no
    // shift rule leaves): an engine that has never run starts in first.
    controls.gear = std::clamp(controls.gear, 1, kTopGear);
    const float throttle = controls.channels[kThrottle];

    float rpm;
    if (controls.transmission == kNeutral) {
        rpm = spec.neutralFollowsWheels ? engine.wheelRpm : spec.idleRpm;
    } else {
        rpm = engine.wheelRpm * spec.ratios[static_cast<std::size_t>(controls.gear)] *
              spec.finalDrive;
    }
    rpm = std::min(std::fabs(rpm), spec.maxRpm);

    engine.smoothedRpm = 0.98f * engine.smoothedRpm + 0.02f * rpm;
    const float torque = TableLookup(cursor, spec.curveRpm, spec.curveTorque, rpm);

    controls.gear = SelectGear(spec, controls.gear, controls.transmission, rpm, throttle);

    float drive = torque * engine.power * engine.powerFactor * throttle / spec.torqueNormaliser *
                  spec.ratios[static_cast<std::size_t>(controls.gear)] * (1.0f - kDrivetrainLoss) *
                  spec.finalDrive;
    if (controls.transmission == kReverse) {
        drive = -drive;
    }
    engine.driveTorque = drive;

    engine.rpm = std::max(spec.idleRpm, engine.smoothedRpm);
    engine.tachometer = engine.rpm / spec.maxRpm;
    obj.forces.propulsion.clear();
}

} // namespace kv::sim
