#pragma once
/// The "External Force" dialog's values: the point of application, force and
/// moment the user applies with the mouse during a run, in working units.
///
/// The environment keeps them in the physics units the force model reads
/// (point in ft, force in lbf, moment in ft*lbf); the dialog shows the point
/// in working length units, the force in lbf or N and the moment in the force
/// unit times the working length unit, so a value survives any change of the
/// working units unchanged.

#include "app/settings/units.h"
#include "simulation/environment/environment.h"

#include <array>
#include <string>

namespace kv::app {

struct ExternalForceForm {
    /// Forward, right, vertical point of application relative to the centre
    /// of gravity (working length units; vertical under "Up" or "Down").
    std::array<double, 3> position{};
    /// Forward, right, vertical force (lbf or N; vertical with the sign rule).
    std::array<double, 3> force{};
    /// Yaw, pitch, roll moment (force unit x length unit); moments keep their sign.
    std::array<double, 3> moment{};
    /// 1 "World Frame", 0 "Body Frame".
    std::int32_t axes = sim::kExternalEarthAxes;
};

struct ExternalForceLabels {
    std::array<std::string, 3> position; ///< "Forward (m)", ...
    std::array<std::string, 3> force;    ///< "Forward (N)", ...
    std::array<std::string, 3> moment;   ///< "Yaw (N m)", "Pitch (N m)", "Roll (N m)"
};

inline constexpr const char* kExternalForceNote =
    "Note: Press the left mouse button to apply the horizontal force. Press the right mouse "
    "button to apply the vertical force. Use the mouse to control the magnitude of the force. "
    "The moment is applied whenever a mouse button is pressed.";

ExternalForceLabels externalForceLabels(const WorkingUnits& units);

ExternalForceForm externalForceForm(const sim::ExternalForceSettings& settings,
                                    const WorkingUnits& units);
/// "Reset": the nine values 0, the axes choice kept.
ExternalForceForm externalForceReset(const ExternalForceForm& form);
/// OK: the nine values back in physics units, and the axes switch.
sim::ExternalForceSettings externalForceOfForm(const ExternalForceForm& form,
                                               const WorkingUnits& units);

} // namespace kv::app
