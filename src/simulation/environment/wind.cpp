#include "simulation/environment/wind.h"

#include "simulation/environment/turbulence.h"

#include <cmath>

namespace kv::sim {

Vec3 SteadyWind(const Environment& environment) {
    if (environment.windOn == 0) {
        return Vec3{};
    }
    const float direction = environment.windDirection * kRadPerDeg;
    const float speed = environment.windSpeed;
    return Vec3{-speed * std::cos(direction), -speed * std::sin(direction), 0.0f};
}

void UpdateWind(SimObject& obj, const Environment& environment, float dt) {
    Vec3 wind = SteadyWind(environment);
    if (environment.turbulenceOn != 0) {
        TurbulenceState& turbulence = obj.turbulence;
        if (turbulence.dt <= 0.0) {
            turbulence.dt = static_cast<double>(dt);
        }
        turbulence.strength = environment.turbulenceStrength;
        turbulence.duration = environment.turbulenceDuration;
        Vec3 gust{};
        UpdateTurbulence(turbulence, obj.state.altitude, VecLength(obj.state.velocity), gust);
        VecAdd(wind, gust, wind);
    }
    obj.wind = wind;
}

} // namespace kv::sim
