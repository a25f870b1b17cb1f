#include "simulation/contact/tire_model.h"

#include <algorithm>
#include <cmath>

namespace kv::sim {

namespace {

/// Grip G of the detailed law on the nominal dry road (100 %).
constexpr float kNominalGrip = 85.0f;
/// Stored `surface` value of a 100 % road: the record holds twice the percentage.
constexpr float kFullSurface = 200.0f;

} // namespace

float detailedGripFromSurface(std::int32_t surface) {
    return static_cast<float>(surface) * (kNominalGrip / kFullSurface);
}

float wheelInertiaFor(float radius) {
    return MaxOf(0.8333333333333333f * radius * radius * radius, 1.5f);
}

TireOutput skidLaw(const Vec3& velocity, float load, float braking) {
    TireOutput out;
    const float limit = std::fabs(5.0f * load);
    out.fy = std::clamp(0.1f * velocity[1] * load * braking, -limit, limit);
    out.fx = std::clamp(0.1f * velocity[0] * load * braking, -limit, limit);
    out.skid = limit == 0.0f ? 0.0f : std::sqrt(out.fx * out.fx + out.fy * out.fy) / limit;
    return out;
}

TireOutput stickingSkidLaw(const Vec3& velocity, const Vec3& offset, float load, float braking,
                           float stiffness, float damping, bool& holding) {
    const float fx = -stiffness * offset[0] - damping * velocity[0];
    const float fy = -stiffness * offset[1] - damping * velocity[1];
    const float limit = std::clamp(braking, 0.0f, 5.0f) * std::fabs(load);
    holding = std::sqrt(fx * fx + fy * fy) <= limit && limit > 0.0f;
    if (!holding) {
        return skidLaw(velocity, load, braking);
    }
    TireOutput out;
    out.fx = fx;
    out.fy = fy;
    return out;
}

namespace {

/// Brake-hold integrator: it winds up with the rolling speed while the brake
/// is held and the wheel is nearly at rest, so that a braked wheel on a slope
/// holds its place.
void updateHold(const TireInput& in, float rolling, TireState& state) {
    if (std::fabs(rolling) >= 1.0f || in.compression <= 0.0f || in.brake <= 0.5f) {
        state.holdIntegrator = 0.0f;
    } else {
        state.holdIntegrator =
            std::clamp(state.holdIntegrator + 10.0f * in.dt * in.velocity[0], -1.0f, 1.0f);
    }
}

} // namespace

TireOutput simpleTireLaw(const TireInput& in, TireState& state) {
    TireOutput out;
    const float vx = in.velocity[0];
    const float vy = in.velocity[1];
    const float n = in.load;
    const float radius = MaxOf(in.radius, 0.1f);

    if (n == 0.0f) {
        state.spin = 0.99f * state.spin;
    } else {
        state.spin = vx / radius;
    }

    if (std::fabs(vx) >= 4.0f || std::fabs(vy) >= 2.0f) {
        state.lateralIntegrator = 0.0f;
    } else {
        state.lateralIntegrator += in.dt * vy;
    }
    const float limit = std::fabs(5.0f * n);
    out.fy = std::clamp((vy + state.lateralIntegrator) * n, -limit, limit);

    const float s = std::clamp(vx, -1.0f, 1.0f);
    const float rolling = 0.01f * s * n;

    float braking = 0.0f;
    if (in.braked) {
        updateHold(in, s, state);
        braking =
            2.0f * in.braking * n * (in.brake * s + state.holdIntegrator * std::fabs(in.pitch));
    }
    float drive = 0.0f;
    if (in.driven && in.drivenCount > 0) {
        drive = in.driveTorque / (radius * static_cast<float>(in.drivenCount));
    }
    out.fx = drive + braking + rolling;
    // An unloaded wheel has a zero limit that its zero force always meets; it
    // is not skidding.
    out.skid = limit > 0.0f && std::fabs(out.fy) == limit ? 1.0f : 0.0f;
    return out;
}

} // namespace kv::sim
