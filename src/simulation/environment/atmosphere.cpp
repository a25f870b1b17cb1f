#include "simulation/environment/atmosphere.h"

#include <cmath>

namespace kv::sim {

AtmosphereSample SampleAtmosphere(float altitude) {
    float h = altitude;
    if (h < 0.0f)
        h = 0.0f;
    if (h > kAtmosphereCeiling)
        h = kAtmosphereCeiling;

    AtmosphereSample s;
    if (h < kTropopause) {
        const float t = 1.0f - 6.875e-6f * h;
        s.temperature = 518.688f * t;
        s.density = 0.0023769f * std::pow(t, 4.2561f);
    } else {
        s.temperature = 389.988f;
        s.density = 0.00070617699f * std::exp(-4.806144174712953e-5f * (h - kTropopause));
    }
    s.speedOfSound = std::sqrt(2411.4692f * s.temperature);

    const float x = h * 0.001f;
    const float x2 = x * x;
    const float x3 = x2 * x;
    const float x4 = x3 * x;
    const float x5 = x4 * x;
    const float x6 = x5 * x;
    const float x7 = x6 * x;
    s.kinematicViscosity =
        (1.5723f + 0.0873065f * x - 0.0118412f * x2 + 0.00116978f * x3 - 5.27207e-5f * x4 +
         1.22466e-6f * x5 - 1.36978e-8f * x6 + 5.94238e-11f * x7) *
        0.0001f;
    return s;
}

} // namespace kv::sim
