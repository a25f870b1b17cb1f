#pragma once
/// How deep an object's ground-contact points lie below the surface, for
/// putting an object that starts inside the ground on top of it.

#include "simulation/sim_object.h"

namespace kv::sim {

/// How deep (ft) an object's ground-contact points lie below the surface
/// under them; negative when every point is clear of it (the smallest
/// clearance, negated), minus infinity for an object without contact points.
struct ContactDepth {
    /// Each tire's lowest point with its strut at rest (found towards the
    /// surface as the tire law finds it), each skid's attachment point and
    /// each geometry point.
    float atRest = 0.0f;
    /// The same with every strut fully compressed: above zero only when the
    /// object is inside the ground, not merely standing on its suspension.
    float compressed = 0.0f;
};

/// The contact depths of `obj`, its contact effectors' attachment points
/// taken for `controls` from the object's set-up tree; `obj` itself is not
/// changed.
ContactDepth contactDepth(const SimObject& obj, const ControlBlock& controls);

} // namespace kv::sim
