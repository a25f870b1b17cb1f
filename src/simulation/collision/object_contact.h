#pragma once
/// Contact with the other simulated object, as the run loop's pair test
/// leaves it for the collision response.

#include "common/vecmath.h"

#include <vector>

namespace kv::sim {

struct SimObject;

struct ObjectContact {
    SimObject* partner = nullptr; ///< the object touched at the last pair test; none: no contact
    /// Where this object's touching triangles lie, earth axes relative to the
    /// local origin (ft): the partner pushes against this point and normal.
    Vec3 point{};
    /// Unit normal of this object's touching surface, earth axes, pointing
    /// away from this object.
    Vec3 normal{0.0f, 0.0f, -1.0f};
    /// Corners of this object's touching triangles, each once, body axes (ft).
    std::vector<Vec3> vertices;
};

} // namespace kv::sim
