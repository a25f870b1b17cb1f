#pragma once
/// The linear aerodynamic model: stability derivatives from the object record.

#include "simulation/aero/aero_flight.h"
#include "simulation/aero/aero_settings.h"
#include "simulation/body/force_set.h"

namespace kv::sim {

/// Force and moment of the linear model in stability axes. Lift uses
/// alpha + alpha0 and the pitching moment alpha - alpha0; control deflections
/// are the aileron, elevator and rudder channels times their limits.
ForceSet linearAerodynamics(const AeroFlight& flight, const AeroSettings& settings);

} // namespace kv::sim
