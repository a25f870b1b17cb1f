#include "simulation/compute_derivatives.h"

#include "simulation/aerodynamics.h"
#include "simulation/atmosphere.h"
#include "simulation/collision_response.h"
#include "simulation/external_force.h"
#include "simulation/ground_contact.h"
#include "simulation/propulsion.h"
#include "simulation/rider_shift.h"
#include "simulation/rigid_body_derivatives.h"

namespace kv::sim {

StateDerivative ComputeDerivatives(int stage, BodyState& state, SimObject& obj,
                                   const Environment& environment) {
    const AtmosphereSample air = SampleAtmosphere(state.altitude);
    computePropulsion(stage, state, obj);
    if (obj.vehicleType == model::kVehicleMotorcycle) {
        RiderShift(obj);
    }
    computeAerodynamics(air, state, obj);
    computeGroundContact(stage, state, obj);
    computeCollisionResponse(state, obj);
    const ForceSet external =
        obj.controls.externalForce != 0 ? ExternalForceSet(state, obj, environment) : ForceSet{};
    return RigidBodyDerivatives(obj.mass, obj.inertia, obj.alpha, state.quat, state.rates,
                                state.velocity, obj.forces, external, state.altitude,
                                state.latitude, environment.gravity);
}

} // namespace kv::sim
