#include "simulation/aero/aerodynamics.h"

#include "simulation/aero/aero_linear.h"
#include "simulation/aero/b747_model.h"
#include "simulation/aero/f16_model.h"
#include "simulation/aero/f4_model.h"

namespace kv::sim {

void ComputeAerodynamics(const AtmosphereSample& air, const BodyState& state, SimObject& obj) {
    AeroFlight flight;
    flight.density = air.density;
    flight.airspeed = obj.airspeed;
    flight.mach = obj.mach;
    flight.alpha = obj.alpha;
    flight.beta = obj.beta;
    flight.alphaDot = obj.alphaDot;
    flight.rates = state.rates;
    flight.controls = &obj.controls;

    AeroModelState& aero = obj.aeroModel;
    switch (aero.settings.model) {
    case model::kAeroF16:
        obj.forces.aero = f16Aerodynamics(flight, aero.settings, aero.cursors.f16);
        break;
    case model::kAeroF4:
        obj.forces.aero = f4Aerodynamics(flight, aero.settings, aero.cursors.f4);
        break;
    case model::kAero747:
        obj.forces.aero = b747Aerodynamics(flight, aero.settings, aero.cursors.b747);
        break;
    case model::kAeroLinear:
        obj.forces.aero = linearAerodynamics(flight, aero.settings);
        break;
    default:
        obj.forces.aero.clear();
        break;
    }
    ForceSet& set = obj.forces.aero;
    for (std::size_t i = 0; i < 3; ++i) {
        set.force[i] *= aero.settings.forceScale;
        set.moment[i] *= aero.settings.momentScale[i];
    }
}

} // namespace kv::sim
