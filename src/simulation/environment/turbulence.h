#pragma once
/// Random turbulence: Dryden-form filters of white noise, one per velocity
/// component, with scale lengths and intensities that follow the altitude in
/// ten bands. The filters work in metres and seconds.

#include "common/vecmath.h"

#include <array>

namespace kv::sim {

/// Number of altitude bands of the turbulence table.
inline constexpr int kTurbulenceBands = 10;

/// Scale length and intensity law of one velocity component in one band:
/// L = L0*(h/href)^p, sigma = sigma0*(h/href)^q.
struct TurbulenceComponentLaw {
    double scaleLength;       ///< L0 (m)
    double lengthExponent;    ///< p
    double intensity;         ///< sigma0 (m/s)
    double intensityExponent; ///< q
};

/// One altitude band: its reference height and the laws of u, v and w.
struct TurbulenceBand {
    double referenceHeight;                           ///< href (m)
    std::array<TurbulenceComponentLaw, 3> components; ///< longitudinal u, lateral v, vertical w
};

/// The band table, lowest band first.
extern const std::array<TurbulenceBand, kTurbulenceBands> kTurbulenceTable;

/// Band of height `h` (m): upper limits 304.8, 762, 1524, 3048, 6096, 9144,
/// 10000, 27000 and 120000 m.
int TurbulenceBandOf(double h);

/// Filter memory of the turbulence acting on one object. Cleared when the run
/// is set up, so two runs from the same conditions see the same gusts.
struct TurbulenceState {
    float strength = 1.0f;            ///< factor on the intensities
    float duration = 1.0f;            ///< factor on the scale lengths; raised to at least 0.01
    double dt = 0.0;                  ///< filter step (s), fixed by the first update; 0 before it
    std::array<double, 3> output{};   ///< u, v, w of the last update (m/s)
    std::array<double, 2> previous{}; ///< v and w one update before the last (m/s)
    std::array<double, 3> noise{};    ///< last white-noise sample of u, v, w
};

/// Advances the filters by one step at `altitude` (ft) and `speed` (ft/s);
/// both are raised to at least 1 m and 1 m/s. `out` receives the gust
/// velocity north, east, down (ft/s). The state's dt must be set.
void UpdateTurbulence(TurbulenceState& state, float altitude, float speed, Vec3& out);

} // namespace kv::sim
