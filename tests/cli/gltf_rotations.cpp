#include "cli/gltf_rotations.h"

#include <cmath>
#include <numbers>

namespace kv::clitest {

using jsontest::JsonValue;

std::array<double, 4> quaternionOf(const JsonValue& v) {
    return {v[0].number, v[1].number, v[2].number, v[3].number};
}

double angleBetween(const std::array<double, 4>& a, const std::array<double, 4>& b) {
    double dot = 0.0;
    for (std::size_t i = 0; i < 4; ++i)
        dot += a[i] * b[i];
    const double sign = dot < 0.0 ? -1.0 : 1.0;
    double chord = 0.0, complement = 0.0;
    for (std::size_t i = 0; i < 4; ++i) {
        chord += (a[i] - sign * b[i]) * (a[i] - sign * b[i]);
        complement += (a[i] + sign * b[i]) * (a[i] + sign * b[i]);
    }
    return 4.0 * std::atan2(std::sqrt(chord), std::sqrt(complement)) * 180.0 / std::numbers::pi;
}

std::array<double, 3> rotate(const std::array<double, 4>& q, const std::array<double, 3>& v) {
    const double x = q[0], y = q[1], z = q[2], w = q[3];
    const std::array<double, 3> t{2.0 * (y * v[2] - z * v[1]), 2.0 * (z * v[0] - x * v[2]),
                                  2.0 * (x * v[1] - y * v[0])};
    return {v[0] + w * t[0] + (y * t[2] - z * t[1]), v[1] + w * t[1] + (z * t[0] - x * t[2]),
            v[2] + w * t[2] + (x * t[1] - y * t[0])};
}

} // namespace kv::clitest
