#pragma once
/// Tire and skid laws: the force a loaded contact effector develops in its
/// tire frame (x along the wheel's heading, y to its right) and the wheel spin
/// they carry.

#include "common/vecmath.h"
#include "simulation/contact/tire_state.h"

#include <cstdint>

namespace kv::sim {

/// Grip G of the detailed law on a road of the record's `surface` (twice the
/// grip percentage): the law's friction scales as G/85, so 100 % (200) is the
/// nominal dry road, 85.
float detailedGripFromSurface(std::int32_t surface);

/// Spin inertia of a wheel of `radius` ft (slug*ft^2), never below 1.5.
float wheelInertiaFor(float radius);

/// What one evaluation of a tire law needs besides the tire state.
struct TireInput {
    int stage = 1;             ///< 1 predictor, 2 corrector
    float dt = 0.0f;           ///< physics step (s)
    Vec3 velocity{};           ///< contact velocity in the tire frame (ft/s)
    float load = 0.0f;         ///< minus the normal force (lbf, never positive); 0 unloaded
    float compression = 0.0f;  ///< strut compression (ft); 0 when the wheel is off the ground
    float radius = 0.0f;       ///< ft
    float width = 0.0f;        ///< ft
    float wheelInertia = 1.5f; ///< slug*ft^2
    bool braked = false;
    bool driven = false;
    float brake = 0.0f;       ///< brake control, 0..1
    float braking = 0.0f;     ///< braking strength B, 0..2
    float driveTorque = 0.0f; ///< total drive torque at the driven wheels (ft*lbf)
    int drivenCount = 0;      ///< driven wheels of the object
    float pitch = 0.0f;       ///< body pitch (rad), scales the brake hold
    int tireType = 1;         ///< detailed law family: 1 Radial, 2 Bias Ply, 3 Sport
    float grip = 0.0f;        ///< detailed law road grip G (85 a nominal dry road)
};

/// Tire-frame force and the skid indicator.
struct TireOutput {
    float fx = 0.0f;   ///< lbf
    float fy = 0.0f;   ///< lbf
    float skid = 0.0f; ///< 0..1
};

/// Skid: friction proportional to sliding speed, at most five times the load.
TireOutput skidLaw(const Vec3& velocity, float load, float braking);

/// A skid that may stick: `offset` is how far it has moved from where it
/// stuck, in the tire frame (ft), `stiffness` and `damping` (lbf/ft,
/// lbf*s/ft) those of its strut. The skid holds while the force that takes
/// stays within min(B, 5) times the load, and gives the sliding law beyond
/// it; `holding` tells which.
TireOutput stickingSkidLaw(const Vec3& velocity, const Vec3& offset, float load, float braking,
                           float stiffness, float damping, bool& holding);

/// The simple tire law: the wheel rolls without slip, lateral grip is a
/// speed-proportional force with an integral term, braking holds by an
/// integral of the rolling speed scaled by the pitch.
TireOutput simpleTireLaw(const TireInput& in, TireState& state);

/// The detailed tire law: slip-based forces of the tire family with wheel spin
/// dynamics in the predictor stage; wheels may lock under braking.
TireOutput detailedTireLaw(const TireInput& in, TireState& state);

/// Result of the detailed law's force function.
struct TireFunctionOutput {
    float fx = 0.0f;        ///< lbf
    float fy = 0.0f;        ///< lbf
    float aligning = 0.0f;  ///< aligning moment (ft*lbf); not summed into the forces
    float dFxdSlip = 0.0f;  ///< lbf per unit slip
    float dFydAngle = 0.0f; ///< lbf/rad
};

/// Force function of the detailed law: family `tireType` (1..3; others count
/// as 1), `width` (ft), slip angle `alpha` (rad), slip, positive load `fz`
/// (lbf), speed `v` (ft/s) and road grip. No load gives all outputs 0.
TireFunctionOutput tireForceFunction(int tireType, float width, float alpha, float slip, float fz,
                                     float v, float grip);

} // namespace kv::sim
