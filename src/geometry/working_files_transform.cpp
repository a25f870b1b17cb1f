#include "geometry/working_files_transform.h"

#include <cmath>

namespace kv::geom {
namespace {

constexpr double kRadPerDeg = 0.017453292519943278;

} // namespace

ImportMapping importMapping(const model::GeometryTransform& transform) {
    const double phi = transform.rotate[0] * kRadPerDeg;
    const double theta = transform.rotate[1] * kRadPerDeg;
    const double psi = transform.rotate[2] * kRadPerDeg;
    const double sf = std::sin(phi), cf = std::cos(phi);
    const double st = std::sin(theta), ct = std::cos(theta);
    const double sp = std::sin(psi), cp = std::cos(psi);
    const std::array<double, 9> r = {ct * cp,
                                     ct * sp,
                                     -st,
                                     sf * st * cp - cf * sp,
                                     sf * st * sp + cf * cp,
                                     sf * ct,
                                     cf * st * cp + sf * sp,
                                     cf * st * sp - sf * cp,
                                     cf * ct};
    // Rᵀ, row order.
    std::array<double, 9> rt{};
    for (int i = 0; i < 3; ++i) {
        for (int j = 0; j < 3; ++j)
            rt[static_cast<std::size_t>(i * 3 + j)] = r[static_cast<std::size_t>(j * 3 + i)];
    }
    ImportMapping map;
    if (transform.rightHanded != 0) {
        map.m = rt;
    } else {
        // Left-hand import matrix H: (x, y, z) -> (z, x, -y).
        static constexpr std::array<double, 9> h = {0, 0, 1, 1, 0, 0, 0, -1, 0};
        for (int i = 0; i < 3; ++i) {
            for (int k = 0; k < 3; ++k) {
                double sum = 0.0;
                for (int j = 0; j < 3; ++j) {
                    sum += rt[static_cast<std::size_t>(i * 3 + j)] *
                           h[static_cast<std::size_t>(j * 3 + k)];
                }
                map.m[static_cast<std::size_t>(i * 3 + k)] = sum;
            }
        }
    }
    for (std::size_t k = 0; k < 3; ++k) {
        map.s[k] =
            static_cast<double>(transform.scale[k]) * static_cast<double>(transform.fileUnit);
        map.t[k] = transform.translate[k];
    }
    return map;
}

std::array<double, 3> applyMapping(const ImportMapping& map, const std::array<double, 3>& p) {
    const std::array<double, 3> sp = {map.s[0] * p[0], map.s[1] * p[1], map.s[2] * p[2]};
    std::array<double, 3> q{};
    for (std::size_t i = 0; i < 3; ++i) {
        q[i] =
            map.m[i * 3] * sp[0] + map.m[i * 3 + 1] * sp[1] + map.m[i * 3 + 2] * sp[2] + map.t[i];
    }
    return q;
}

std::array<double, 3> undoMapping(const ImportMapping& map, const std::array<double, 3>& q) {
    const std::array<double, 3> d = {q[0] - map.t[0], q[1] - map.t[1], q[2] - map.t[2]};
    std::array<double, 3> p{};
    for (std::size_t j = 0; j < 3; ++j) {
        const double back = map.m[j] * d[0] + map.m[3 + j] * d[1] + map.m[6 + j] * d[2];
        p[j] = map.s[j] != 0.0 ? back / map.s[j] : 0.0;
    }
    return p;
}

} // namespace kv::geom
