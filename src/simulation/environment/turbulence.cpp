#include "simulation/environment/turbulence.h"

#include "common/unit_constants.h"
#include "simulation/environment/gaussian_random.h"

#include <algorithm>
#include <cmath>

namespace kv::sim {

namespace {

constexpr double kSqrt3 = 1.7320508075688772;
constexpr float kMinDuration = 0.01f;

constexpr TurbulenceComponentLaw same(double length, double intensity) {
    return {length, 0.0, intensity, 0.0};
}

} // namespace

// Band 6 has no reference height of its own; its exponents are 0, so any
// positive value serves.
const std::array<TurbulenceBand, kTurbulenceBands> kTurbulenceTable{{
    {18.3, {{{31.5, 0.65, 2.54, 0.16}, {18.4, 0.83, 1.94, 0.25}, {10.0, 1.05, 1.43, 0.36}}}},
    {304.8, {{same(300.0, 4.39), same(300.0, 4.39), same(300.0, 4.39)}}},
    {762.0, {{same(533.0, 5.7), same(533.0, 5.7), same(533.0, 5.7)}}},
    {1524.0, {{same(533.0, 5.79), same(533.0, 5.79), same(533.0, 5.79)}}},
    {3048.0, {{same(533.0, 5.52), same(533.0, 5.52), same(533.0, 5.52)}}},
    {6096.0, {{same(533.0, 5.27), same(533.0, 5.27), same(533.0, 5.27)}}},
    {1.0, {{same(533.0, 4.22), same(533.0, 4.22), same(533.0, 4.22)}}},
    {10000.0, {{{533.0, 3.65, 4.2, 0.51}, {533.0, 3.65, 4.2, 0.51}, {533.0, 0.842, 4.2, 0.0}}}},
    {27000.0, {{{20000.0, 1.54, 7.0, 1.4}, {20000.0, 1.54, 7.0, 1.4}, {1230.0, 1.15, 4.22, 0.95}}}},
    {120000.0, {{same(200000.0, 70.0), same(200000.0, 70.0), same(11800.0, 17.0)}}},
}};

int TurbulenceBandOf(double h) {
    static constexpr double kUpper[kTurbulenceBands - 1] = {
        304.8, 762.0, 1524.0, 3048.0, 6096.0, 9144.0, 10000.0, 27000.0, 120000.0};
    int band = 0;
    while (band < kTurbulenceBands - 1 && h >= kUpper[band]) {
        ++band;
    }
    return band;
}

void UpdateTurbulence(TurbulenceState& state, float altitude, float speed, Vec3& out) {
    const double h = std::max(static_cast<double>(altitude) * kMetresPerFootD, 1.0);
    const double v = std::max(static_cast<double>(speed) * kMetresPerFootD, 1.0);
    const double dt = state.dt;
    const TurbulenceBand& band = kTurbulenceTable[static_cast<std::size_t>(TurbulenceBandOf(h))];
    const double ratio = h / band.referenceHeight;
    const double duration = std::max(state.duration, kMinDuration);
    const double strength = std::max(state.strength, 0.0f);

    for (std::size_t c = 0; c < 3; ++c) {
        const TurbulenceComponentLaw& law = band.components[c];
        const double length = law.scaleLength * duration * std::pow(ratio, law.lengthExponent);
        const double sigma = law.intensity * strength * std::pow(ratio, law.intensityExponent);
        const double a = v / length;
        const double e = std::exp(-a * dt);
        const double eta = GaussianRandom(std::sqrt(kPiD / dt), 0.0);
        const double variance = sigma * sigma;

        if (c == 0) {
            // First order: u(s)/eta(s) = sigma*sqrt(2/(pi*a)) * a/(s + a).
            state.output[0] =
                e * state.output[0] + ((1.0 - e) * std::sqrt(2.0 * a * variance / kPiD) / a) * eta;
        } else {
            // Second order: K*(s + b)/(s + a)^2, taken step-invariant.
            const double b = a / kSqrt3;
            const double k = std::sqrt(3.0 * a * variance / kPiD);
            const double c1 = dt * (a - b) / a;
            const double c2 = b / (a * a);
            const std::size_t p = c - 1;
            const double next =
                2.0 * e * state.output[c] - e * e * state.previous[p] +
                k * (((c1 - c2) * e + c2) * eta + ((e - 1.0) * c2 - c1) * e * state.noise[c]);
            state.previous[p] = state.output[c];
            state.output[c] = next;
        }
        state.noise[c] = eta;
        out[c] = static_cast<float>(state.output[c] * kFeetPerMetreD);
    }
}

} // namespace kv::sim
