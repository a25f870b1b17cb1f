#pragma once
/// The "Initial Conditions" dialog's values: the simulated object's starting
/// position, velocity, orientation and angular rate as the user reads and
/// types them, and the conversion back to the stored initial-condition block.

#include "app/settings/units.h"
#include "model/object_record.h"

#include <array>
#include <string>

namespace kv::app {

/// The twelve numbers of the dialog, in the dialog's order and units.
struct InitialConditionsForm {
    /// Forward, right and vertical position (working length units); the
    /// vertical one under "Up" is the height, under "Down" the depth.
    std::array<double, 3> position{};
    /// Forward, right and vertical body velocity (working length units per s),
    /// vertical with the same sign rule.
    std::array<double, 3> velocity{};
    /// Yaw, pitch, roll (deg).
    std::array<double, 3> attitude{};
    /// Yaw, pitch, roll rate (deg/s, body axes).
    std::array<double, 3> rates{};
};

/// Labels of the two unit-dependent groups, "Position" and "Velocity".
struct InitialConditionsLabels {
    std::array<std::string, 3> position; ///< "Forward (m)", "Right (m)", "Up (m)"
    std::array<std::string, 3> velocity; ///< "Forward (m/s)", "Right (m/s)", "Up (m/s)"
};

inline constexpr std::array<const char*, 3> kOrientationLabels{"Yaw (deg)", "Pitch (deg)",
                                                               "Roll (deg)"};
inline constexpr std::array<const char*, 3> kAngularRateLabels{
    "Yaw Rate (deg/s)", "Pitch Rate (deg/s)", "Roll Rate (deg/s)"};

InitialConditionsLabels initialConditionsLabels(const WorkingUnits& units);

/// What the dialog shows for a stored block.
InitialConditionsForm initialConditionsForm(const model::InitialConditions& initial,
                                            const WorkingUnits& units);

/// The block OK stores: lengths and velocities x `lengthUnitFactor`, the
/// vertical ones negated under "Up"; angles and rates as entered.
model::InitialConditions initialConditionsOfForm(const InitialConditionsForm& form,
                                                 const WorkingUnits& units);

/// Time (s) of the "Time (min:sec)" fields of "Motion File Initialization".
float motionFileTime(double minutes, double seconds);

} // namespace kv::app
