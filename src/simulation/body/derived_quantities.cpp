#include "simulation/body/derived_quantities.h"

#include "common/unit_constants.h"
#include "simulation/environment/atmosphere.h"
#include "simulation/environment/environment.h"

#include <cmath>

namespace kv::sim {

namespace {
/// Angle of attack reported when there is no airflow (rad).
constexpr float kAlphaAtRest = kHalfPi;
} // namespace

void UpdateDerivedQuantities(BodyState& state, const StateDerivative& d, SimObject& obj) {
    const AtmosphereSample air = SampleAtmosphere(MaxOf(state.altitude, 0.0f));

    QuatToMatrix(state.quat, obj.bodyToEarth, obj.earthToBody);
    const Mat3& b = obj.bodyToEarth;
    obj.yaw = std::atan2(b[3], b[0]);
    obj.pitch = std::atan2(-b[6], std::sqrt(b[0] * b[0] + b[3] * b[3]));
    obj.roll = std::atan2(b[7], b[8]);

    Vec3 windBody;
    MatVec3(obj.earthToBody, obj.wind, windBody);
    VecSub(state.velocity, windBody, obj.airVelocity);
    obj.airspeed = VecLength(obj.airVelocity);
    obj.mach = obj.airspeed / air.speedOfSound;

    const Vec3& va = obj.airVelocity;
    if (obj.airspeed > 1e-6f) {
        obj.alpha = std::atan2(va[2], va[0]);
        obj.beta = std::atan2(va[1], std::sqrt(va[0] * va[0] + va[2] * va[2]));
    } else {
        obj.alpha = kAlphaAtRest;
        obj.beta = 0.0f;
    }

    const float u = state.velocity[0], v = state.velocity[1], w = state.velocity[2];
    const float ud = d.acceleration[0], vd = d.acceleration[1], wd = d.acceleration[2];
    const float uw2 = u * u + w * w;
    obj.alphaDot = CompareTol(uw2, 0.0f) == 0 ? 0.0f : (wd * u - ud * w) / uw2;
    const float betaDen = std::sqrt(uw2) * (uw2 + v * v);
    obj.betaDot =
        CompareTol(betaDen, 0.0f) == 0 ? 0.0f : (uw2 * vd - (u * ud + w * wd) * v) / betaDen;

    // Load factors count only the force models' sets: weight and the external
    // force are left out.
    const ForceSets& f = obj.forces;
    const float ca = std::cos(obj.alpha);
    const float sa = std::sin(obj.alpha);
    const float weightUnit = obj.mass * kStandardGravity;
    const float fx = ca * f.aero.force[0] - sa * f.aero.force[2] + f.propulsion.force[0] +
                     f.ground.force[0] + f.collision.force[0];
    const float fy =
        f.aero.force[1] + f.propulsion.force[1] + f.ground.force[1] + f.collision.force[1];
    const float fz = sa * f.aero.force[0] + ca * f.aero.force[2] + f.propulsion.force[2] +
                     f.ground.force[2] + f.collision.force[2];
    obj.loadFactor = {fx / weightUnit, fy / weightUnit, -fz / weightUnit};

    MatVec3(obj.bodyToEarth, state.velocity, obj.earthVelocity);
    obj.climbRate = -obj.earthVelocity[2];
    obj.climbRatio = obj.airspeed != 0.0f ? obj.climbRate / obj.airspeed : 0.0f;

    const double r = static_cast<double>(state.altitude) + kEarthRadiusFt;
    const double degToRad = kPiD / 180.0;
    obj.position[0] =
        static_cast<float>(r * std::tan((state.latitude - obj.originLatitude) * degToRad));
    obj.position[1] =
        static_cast<float>(-r * std::tan(std::cos(state.latitude * degToRad) *
                                         (state.longitude - obj.originLongitude) * degToRad));
    obj.position[2] = -state.altitude;
}

} // namespace kv::sim
