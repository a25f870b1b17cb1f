#include "simulation/compute_derivatives.h"

#include "simulation/aero/aerodynamics.h"
#include "simulation/body/rigid_body_derivatives.h"
#include "simulation/collision/collision_response.h"
#include "simulation/contact/ground_contact.h"
#include "simulation/environment/atmosphere.h"
#include "simulation/environment/external_force.h"
#include "simulation/propulsion/propulsion.h"
#include "simulation/propulsion/rider_shift.h"

namespace kv::sim {

StateDerivative ComputeDerivatives(int stage, BodyState& state, SimObject& obj,
                                   const Environment& environment) {
    const AtmosphereSample air = SampleAtmosphere(state.altitude);
    ComputePropulsion(stage, state, obj);
    if (obj.vehicleType == model::kVehicleMotorcycle) {
        RiderShift(obj);
    }
    ComputeAerodynamics(air, state, obj);
    ComputeGroundForces(stage, obj, state.velocity, state.rates);
    ComputeCollisionForces(state, obj);
    const ForceSet external =
        obj.controls.externalForce != 0 ? ExternalForceSet(state, obj, environment) : ForceSet{};
    return RigidBodyDerivatives(obj.mass, obj.inertia, obj.alpha, state.quat, state.rates,
                                state.velocity, obj.forces, external, state.altitude,
                                state.latitude, environment.gravity);
}

} // namespace kv::sim
