#pragma once
/// How deep an object's ground-contact points lie below the surface, for
/// putting an object that starts inside the ground on top of it.

#include "simulation/sim_object.h"

namespace kv::sim {

/// Depth (ft) of the deepest ground-contact point of `obj` below the surface
/// under it: each tire's lowest point with its strut at rest (found towards
/// the surface as the tire law finds it), each skid's attachment point and
/// each geometry point. Negative when every point is clear of the surface (the
/// smallest clearance, negated); minus infinity for an object without contact
/// points. The contact effectors' attachment points are taken for `controls`
/// from the object's set-up tree; `obj` itself is not changed.
float deepestContactDepth(const SimObject& obj, const ControlBlock& controls);

} // namespace kv::sim
