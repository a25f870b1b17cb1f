#pragma once
/// Bounce and friction of the points of an object's geometry that reach below
/// the ground surface.

#include "common/vecmath.h"
#include "simulation/contact/ground_query.h"
#include "simulation/sim_object.h"

namespace kv::sim {

/// Adds to `obj.forces.ground` the spring, damping and friction of every
/// contact point below the surface, and stores each point's penetration for
/// the next evaluation's damping (0 for a point above the surface). A
/// touching point holds by static friction while the force that takes stays
/// within the friction limit, and slides beyond it; the corrector stage
/// (`stage` 2) moves the points' anchors, the predictor only reads them.
void addBodyPointContact(int stage, SimObject& obj, const GroundQuery& ground, const Vec3& velocity,
                         const Vec3& rates);

} // namespace kv::sim
