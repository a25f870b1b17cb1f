#include "simulation/aero/aero_flight.h"

#include <cmath>

namespace kv::sim {

float AeroFlight::rateFactor(float length) const {
    if (std::fabs(airspeed) <= kRateTermMinAirspeed) {
        return 0.0f;
    }
    return length / (2.0f * airspeed);
}

void bodyToStability(float alpha, Vec3& force, Vec3& moment) {
    const float c = std::cos(alpha);
    const float s = std::sin(alpha);
    const Vec3 f = force;
    force = {c * f[0] + s * f[2], f[1], -s * f[0] + c * f[2]};
    const Vec3 m = moment;
    moment = {c * m[0] + s * m[2], m[1], -s * m[0] + c * m[2]};
}

} // namespace kv::sim
