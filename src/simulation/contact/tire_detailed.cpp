#include "simulation/contact/tire_model.h"

#include <algorithm>
#include <cmath>

namespace kv::sim {

namespace {

/// Speed (ft/s) from which the slip angle follows the velocity direction and
/// the wheel spin is integrated; below it the wheel simply rolls.
constexpr float kSlipSpeed = 10.0f;
/// Slip angle (rad) beyond which the low-speed lateral integrator resets.
constexpr float kIntegratorReset = 0.17453292f;
constexpr float kIntegratorLimit = 0.1745329f;

/// Brings a slip angle into -pi/2..pi/2, so a wheel rolling backwards sees
/// the angle of its own direction of travel.
float foldSlipAngle(float angle) {
    if (std::fabs(angle) > kHalfPi) {
        return WrapPi(kPi - angle);
    }
    return angle;
}

struct Torques {
    float drive = 0.0f;     ///< ft*lbf
    float resisting = 0.0f; ///< ft*lbf
};

/// Three sub-steps of the wheel spin, each semi-implicit in the slip
/// stiffness, so a stiff tire does not make the spin oscillate. Returns the
/// force function's last result.
TireFunctionOutput spinUpdate(const TireInput& in, const Torques& t, float v, float fz,
                              TireState& s) {
    const float h = in.dt / 3.0f;
    const bool compressed = in.compression > 0.0f;
    TireFunctionOutput f;
    for (int i = 0; i < 3; ++i) {
        f = tireForceFunction(in.tireType, in.width, s.slipAngle, s.slip, fz, v, in.grip);
        const bool cannotTurn = std::fabs(s.slip) >= 1.0f &&
                                in.radius * std::fabs(f.fx) < std::fabs(t.resisting) &&
                                SignOf(t.resisting) == SignOf(f.fx);
        if (s.lock == 0.0f && !cannotTurn) {
            s.spin +=
                ((t.drive + t.resisting - in.radius * f.fx) / in.wheelInertia * h) /
                (1.0f - f.dFxdSlip * h * in.radius * in.radius / (2.0f * in.wheelInertia * v));
            s.slip = compressed ? 1.0f - s.spin * in.radius / v : 0.0f;
        } else {
            s.spin = 0.0f;
            s.slip = 1.0f;
            s.lock = 1.0f;
        }
    }
    return f;
}

} // namespace

TireOutput detailedTireLaw(const TireInput& in, TireState& s) {
    TireOutput out;
    const float vx = in.velocity[0];
    const float vy = in.velocity[1];
    const bool compressed = in.compression > 0.0f;
    const float radius = MaxOf(in.radius, 0.1f);
    const float fz = -in.load;

    const float u =
        compressed ? std::clamp(s.spin, -1.0f, 1.0f) : std::clamp(0.2f * s.spin, -1.0f, 1.0f);
    Torques t;
    if (in.braked) {
        const float rolling = std::clamp(vx, -1.0f, 1.0f);
        if (std::fabs(rolling) >= 1.0f || !compressed || in.brake <= 0.5f) {
            s.holdIntegrator = 0.0f;
        } else {
            s.holdIntegrator = std::clamp(s.holdIntegrator + 10.0f * in.dt * vx, -1.0f, 1.0f);
        }
        t.resisting =
            -in.brake * in.braking * 1000.0f * u - s.holdIntegrator * 1000.0f * std::fabs(in.pitch);
    }
    t.resisting -= 5.0f * u;
    if (in.driven && in.drivenCount > 0) {
        t.drive = in.driveTorque / static_cast<float>(in.drivenCount);
    }

    if (!compressed) {
        s.slipAngle = 0.0f;
        s.lateralIntegrator = 0.0f;
        s.slip = 0.0f;
        if (in.stage == 1) {
            spinUpdate(in, t, kSlipSpeed, 0.0f, s);
        }
    } else {
        TireFunctionOutput f;
        if (std::fabs(vx) >= kSlipSpeed) {
            s.lateralIntegrator *= 0.99f;
            s.slipAngle = foldSlipAngle(s.lateralIntegrator + std::atan2(vy, vx));
            if (in.stage == 1) {
                f = spinUpdate(in, t, vx, fz, s);
            } else {
                f = tireForceFunction(in.tireType, in.width, s.slipAngle, s.slip, fz, vx, in.grip);
            }
            out.fx = f.fx;
            out.fy = f.fy;
        } else {
            float angle = 0.05f * vy + s.lateralIntegrator;
            if (std::fabs(angle) >= kIntegratorReset) {
                s.lateralIntegrator = 0.0f;
            } else {
                s.lateralIntegrator = std::clamp(s.lateralIntegrator + 0.2f * in.dt * vy,
                                                 -kIntegratorLimit, kIntegratorLimit);
            }
            s.slipAngle = foldSlipAngle(angle);
            if (s.lock == 0.0f) {
                s.spin = vx / radius;
                s.slip = 0.0f;
            } else {
                s.spin = 0.0f;
                s.slip = MinOf(std::fabs(0.2f * vx), 1.0f);
            }
            f = tireForceFunction(in.tireType, in.width, s.slipAngle, s.slip, fz, vx, in.grip);
            out.fx = f.fx;
            out.fy = f.fy;
            if (s.lock == 0.0f) {
                out.fx += (t.drive + t.resisting) / radius;
            }
        }
        const float a = f.dFxdSlip;
        const float b = f.dFydAngle;
        out.skid = std::clamp((1.0f - a / -1000.0f) + (1.0f - b / -1000.0f), 0.0f, 1.0f);
    }
    if (in.brake == 0.0f) {
        s.lock = 0.0f;
    }
    return out;
}

} // namespace kv::sim
