#pragma once
/// Equations of motion of a rigid body over a spherical, non-rotating earth.

#include "common/unit_constants.h"
#include "common/vecmath.h"
#include "simulation/body/body_state.h"
#include "simulation/body/force_set.h"
#include "simulation/sim_object.h"

namespace kv::sim {

/// The state derivative from the summed forces and moments.
///
/// `quat` is renormalised in place. The aerodynamic set is in stability axes
/// and is rotated by `alpha` (rad) before it is summed; the other sets and the
/// external force are in body axes. Weight acts along earth down with
/// `gravity` (ft/s^2) and contributes no moment. `altitude` (ft) and
/// `latitude` (deg) scale the navigation rates.
StateDerivative RigidBodyDerivatives(float mass, const Mat3& inertia, float alpha, Quat& quat,
                                     const Vec3& rates, const Vec3& velocity, const ForceSets& sets,
                                     const ForceSet& external, float altitude, double latitude,
                                     float gravity);

} // namespace kv::sim
