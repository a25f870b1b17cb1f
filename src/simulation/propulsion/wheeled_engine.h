#pragma once
/// The engine and automatic gearbox shared by the car and the motorcycle:
/// engine speed from the driven wheels, a torque curve, six forward gears and
/// reverse, drivetrain loss and final drive.

#include "simulation/sim_object.h"

#include <array>

namespace kv::sim {

/// Breakpoints of an engine's torque curve.
inline constexpr int kTorqueCurvePoints = 11;
/// Highest forward gear; gear 0 is never selected.
inline constexpr int kTopGear = 6;
/// Fraction of the engine torque lost between crankshaft and wheels.
inline constexpr float kDrivetrainLoss = 0.18f;

/// The fixed data of one wheeled engine type.
struct WheeledEngineData {
    std::array<float, kTorqueCurvePoints> curveRpm;    ///< torque-curve breakpoints (rev/min)
    std::array<float, kTorqueCurvePoints> curveTorque; ///< torque at each breakpoint (ft*lbf)
    float torqueNormaliser;                 ///< curve torque that delivers the rated power (ft*lbf)
    std::array<float, kTopGear + 1> ratios; ///< gearbox ratio of gears 0..6
    float finalDrive;                       ///< final drive ratio
    bool neutralFollowsWheels; ///< in neutral the engine turns with the wheels, else at idle
    float idleRpm;             ///< lowest engine speed shown; the neutral speed when not following
    float maxRpm;              ///< engine speed clamp and full tachometer scale (rev/min)
    float kickdownRpm;         ///< below this, more than 0.6 throttle shifts down (rev/min)
    float coastDownRpm;        ///< below this, closed throttle shifts down (rev/min)
    float cruiseUpRpm;         ///< above this, less than 0.6 throttle shifts up (rev/min)
    float forcedUpRpm;         ///< above this, any throttle shifts up (rev/min)
};

/// Throttle above which the gearbox holds low gears for acceleration.
inline constexpr float kKickdownThrottle = 0.6f;

/// Runs one evaluation of a wheeled engine: engine speed from the mean
/// driven-wheel speed, the display filter, the torque curve, at most one gear
/// change, the drive torque at the wheels, the shown speed and tachometer. The
/// propulsion force set is cleared: these engines push only through the wheels.
void RunWheeledEngine(const WheeledEngineData& data, TableCursor& cursor, SimObject& obj);

/// The gear after one gearbox decision at engine speed `rpm` (rev/min) and
/// throttle `throttle` (0..1); reverse always selects gear 1.
int SelectGear(const WheeledEngineData& data, int gear, int transmission, float rpm,
               float throttle);

} // namespace kv::sim
