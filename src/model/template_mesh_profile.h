#pragma once
/// Piecewise-linear profiles used to shape the built-in meshes.

#include <array>
#include <initializer_list>

namespace kv::model {

/// Value at `x` of the polyline through `points` (x ascending), held constant
/// beyond its ends.
inline double profile(std::initializer_list<std::array<double, 2>> points, double x) {
    const std::array<double, 2>* prev = nullptr;
    for (const auto& p : points) {
        if (x <= p[0]) {
            if (prev == nullptr)
                return p[1];
            const double t = (x - (*prev)[0]) / (p[0] - (*prev)[0]);
            return (*prev)[1] + t * (p[1] - (*prev)[1]);
        }
        prev = &p;
    }
    return (*prev)[1];
}

} // namespace kv::model
