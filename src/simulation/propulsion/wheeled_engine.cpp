#include "simulation/propulsion/wheeled_engine.h"

#include <algorithm>
#include <cmath>

namespace kv::sim {

int SelectGear(const WheeledEngineData& data, int gear, int transmission, float rpm,
               float throttle) {
    if (transmission == kReverse) {
        return 1;
    }
    const bool kickdown = throttle > kKickdownThrottle && rpm < data.kickdownRpm;
    const bool coastDown = throttle == 0.0f && rpm < data.coastDownRpm;
    if ((kickdown || coastDown) && gear >= 2) {
        return gear - 1;
    }
    const bool cruiseUp = throttle < kKickdownThrottle && rpm > data.cruiseUpRpm;
    if (gear < kTopGear && (cruiseUp || rpm > data.forcedUpRpm)) {
        return gear + 1;
    }
    return gear;
}

void RunWheeledEngine(const WheeledEngineData& data, TableCursor& cursor, SimObject& obj) {
    EngineState& engine = obj.engine;
    ControlBlock& controls = obj.controls;
    // The control block starts cleared (gear 0, whose ratio is 0 and which no
    // shift rule leaves): an engine that has never run starts in first.
    controls.gear = std::clamp(controls.gear, 1, kTopGear);
    const float throttle = controls.channels[kThrottle];

    float rpm;
    if (controls.transmission == kNeutral) {
        rpm = data.neutralFollowsWheels ? engine.wheelRpm : data.idleRpm;
    } else {
        rpm = engine.wheelRpm * data.ratios[static_cast<std::size_t>(controls.gear)] *
              data.finalDrive;
    }
    rpm = std::min(std::fabs(rpm), data.maxRpm);

    engine.smoothedRpm = 0.98f * engine.smoothedRpm + 0.02f * rpm;
    const float torque = TableLookup(cursor, data.curveRpm, data.curveTorque, rpm);

    controls.gear = SelectGear(data, controls.gear, controls.transmission, rpm, throttle);

    float drive = torque * engine.power * engine.powerFactor * throttle / data.torqueNormaliser *
                  data.ratios[static_cast<std::size_t>(controls.gear)] * (1.0f - kDrivetrainLoss) *
                  data.finalDrive;
    if (controls.transmission == kReverse) {
        drive = -drive;
    }
    engine.driveTorque = drive;

    engine.rpm = std::max(data.idleRpm, engine.smoothedRpm);
    engine.tachometer = engine.rpm / data.maxRpm;
    obj.forces.propulsion.clear();
}

} // namespace kv::sim
