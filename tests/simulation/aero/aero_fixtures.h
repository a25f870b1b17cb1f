#pragma once
// Probing an aerodynamic model at a chosen flight condition.

#include "simulation/aero/aerodynamics.h"
#include "simulation/sim_object.h"

namespace kv::test {

/// A flight condition to evaluate a model at; angles in degrees.
struct AeroCondition {
    float alphaDeg = 0.0f;
    float betaDeg = 0.0f;
    float airspeed = 300.0f;    ///< ft/s
    float density = 0.0023769f; ///< slug/ft^3
    float mach = 0.0f;
    float alphaDot = 0.0f; ///< rad/s
    Vec3 rates{};          ///< p, q, r (rad/s)
};

/// Coefficients recovered from a stability-axis force set.
struct AeroCoefficients {
    float lift = 0.0f;
    float drag = 0.0f;
    float side = 0.0f;
    float roll = 0.0f;
    float pitch = 0.0f;
    float yaw = 0.0f;
};

/// A simulated object flying the given aerodynamic model with 30-deg control limits.
inline sim::SimObject aeroObject(int model) {
    sim::SimObject obj;
    obj.aeroModel.settings.model = model;
    obj.aeroModel.settings.aileronLimit = 30.0f;
    obj.aeroModel.settings.elevatorLimit = 30.0f;
    obj.aeroModel.settings.rudderLimit = 30.0f;
    return obj;
}

inline sim::ForceSet evaluateAero(sim::SimObject& obj, const AeroCondition& c) {
    obj.alpha = c.alphaDeg * 0.017453292f;
    obj.beta = c.betaDeg * 0.017453292f;
    obj.airspeed = c.airspeed;
    obj.mach = c.mach;
    obj.alphaDot = c.alphaDot;
    sim::BodyState state;
    state.rates = c.rates;
    sim::AtmosphereSample air;
    air.density = c.density;
    sim::ComputeAerodynamics(air, state, obj);
    return obj.forces.aero;
}

/// Coefficients of `obj`'s model at `c` for reference area, span and chord.
inline AeroCoefficients coefficientsAt(sim::SimObject& obj, const AeroCondition& c, float area,
                                       float span, float chord) {
    const sim::ForceSet f = evaluateAero(obj, c);
    const float qbarS = 0.5f * c.density * c.airspeed * c.airspeed * area;
    AeroCoefficients k;
    k.drag = -f.force[0] / qbarS;
    k.side = f.force[1] / qbarS;
    k.lift = -f.force[2] / qbarS;
    k.roll = f.moment[0] / (qbarS * span);
    k.pitch = f.moment[1] / (qbarS * chord);
    k.yaw = f.moment[2] / (qbarS * span);
    return k;
}

} // namespace kv::test
