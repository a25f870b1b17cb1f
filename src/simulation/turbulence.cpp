#include "simulation/turbulence.h"

#include "simulation/gaussian_random.h"

#include <algorithm>
#include <cmath>

namespace kv::sim {

namespace {

constexpr double kMetresPerFoot = 0.3048037;
constexpr double kFeetPerMetre = 3.2808;
constexpr double kSqrt3 = 1.7320508075688772;
constexpr double kPiD = 3.141592653589793;
constexpr float kMinDuration = 0.01f;

constexpr TurbulenceComponentLaw same(float length, float intensity) {
    return {length, 0.0f, intensity, 0.0f};
}

} // namespace

// Band 6 has no reference height of its own; its exponents are 0, so any
// positive value serves.
const std::array<TurbulenceBand, kTurbulenceBands> kTurbulenceTable{{
    {18.3f,
     {{{31.5f, 0.65f, 2.54f, 0.16f}, {18.4f, 0.83f, 1.94f, 0.25f}, {10.0f, 1.05f, 1.43f, 0.36f}}}},
    {304.8f, {{same(300.0f, 4.39f), same(300.0f, 4.39f), same(300.0f, 4.39f)}}},
    {762.0f, {{same(533.0f, 5.7f), same(533.0f, 5.7f), same(533.0f, 5.7f)}}},
    {1524.0f, {{same(533.0f, 5.79f), same(533.0f, 5.79f), same(533.0f, 5.79f)}}},
    {3048.0f, {{same(533.0f, 5.52f), same(533.0f, 5.52f), same(533.0f, 5.52f)}}},
    {6096.0f, {{same(533.0f, 5.27f), same(533.0f, 5.27f), same(533.0f, 5.27f)}}},
    {1.0f, {{same(533.0f, 4.22f), same(533.0f, 4.22f), same(533.0f, 4.22f)}}},
    {10000.0f,
     {{{533.0f, 3.65f, 4.2f, 0.51f}, {533.0f, 3.65f, 4.2f, 0.51f}, {533.0f, 0.842f, 4.2f, 0.0f}}}},
    {27000.0f,
     {{{20000.0f, 1.54f, 7.0f, 1.4f},
       {20000.0f, 1.54f, 7.0f, 1.4f},
       {1230.0f, 1.15f, 4.22f, 0.95f}}}},
    {120000.0f, {{same(200000.0f, 70.0f), same(200000.0f, 70.0f), same(11800.0f, 17.0f)}}},
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
    const double h = std::max(static_cast<double>(altitude) * kMetresPerFoot, 1.0);
    const double v = std::max(static_cast<double>(speed) * kMetresPerFoot, 1.0);
    const double dt = state.dt;
    const TurbulenceBand& band = kTurbulenceTable[static_cast<std::size_t>(TurbulenceBandOf(h))];
    const double ratio = h / static_cast<double>(band.referenceHeight);
    const double duration = std::max(state.duration, kMinDuration);
    const double strength = std::max(state.strength, 0.0f);

    for (std::size_t c = 0; c < 3; ++c) {
        const TurbulenceComponentLaw& law = band.components[c];
        const double length = static_cast<double>(law.scaleLength) * duration *
                              std::pow(ratio, static_cast<double>(law.lengthExponent));
        const double sigma = static_cast<double>(law.intensity) * strength *
                             std::pow(ratio, static_cast<double>(law.intensityExponent));
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
        out[c] = static_cast<float>(state.output[c] * kFeetPerMetre);
    }
}

} // namespace kv::sim
