#pragma once
/// Force and moment contributed by one source, summed by the rigid-body
/// equations.

#include "common/vecmath.h"

namespace kv::sim {

/// Force (lbf) and moment about the centre of gravity (ft*lbf) of one source.
/// The axes are the source's: body axes for every set except aerodynamics,
/// which is in stability axes (rotated about body y by alpha).
struct ForceSet {
    Vec3 force{};  ///< Fx, Fy, Fz (lbf)
    Vec3 moment{}; ///< Mx, My, Mz (ft*lbf)

    void clear() {
        force = {};
        moment = {};
    }
};

} // namespace kv::sim
