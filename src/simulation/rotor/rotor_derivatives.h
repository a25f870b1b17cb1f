#pragma once
/// The linear helicopter model: state derivative and rotor forces at one state.

#include "common/table_lookup.h"
#include "common/vecmath.h"
#include "simulation/body/force_set.h"
#include "simulation/control_block.h"
#include "simulation/environment/environment.h"
#include "simulation/rotor/rotor_state.h"

namespace kv::sim {

/// Forward speed (ft/s) at which the low-speed blend hands over to the
/// high-speed one: 40 knots, half the upper schedule speed.
inline constexpr float kRotorBlendSpeed = 67.5124f;

/// Collective channel at which the mixer's collective input is 0: with the
/// cyclics and pedal centred and the rotor state at 0 the model hovers there.
inline constexpr float kHoverCollective = 0.2f;

/// What one evaluation reads from the object besides the rotor state.
struct RotorInputs {
    float time = 0.0f;                ///< simulation time (s)
    float mass = 1.0f;                ///< slug
    Vec3 inertia{1.0f, 1.0f, 1.0f};   ///< Ixx, Iyy, Izz (slug*ft^2)
    Vec3 velocity{};                  ///< air-relative body velocity u, v, w (ft/s)
    Vec3 rates{};                     ///< body rates p, q, r (rad/s)
    float gravity = kStandardGravity; ///< ft/s^2
};

/// The actuator signals mixed from the lateral and longitudinal cyclic, the
/// collective and the pedal channels of `controls`. All four are 0 at
/// collective 0.2 with the other three channels centred: that is the trim.
RotorActuators rotorActuatorSignals(const ControlBlock& controls);

/// Evaluates the model at state `x` with the coefficients scheduled on the
/// forward speed u (the cursor is moved there). Writes `xdot` (per s), the
/// rotor force set `forces` (body axes, lbf and ft*lbf), the actuator signals
/// into `actuators` and the main and tail rotor pitch channels of `controls`
/// (s3 and s4), and rewrites the algebraic term x6 of `x`. At trim, with every
/// state, rate, velocity and signal 0, the force is -m*g along body z and the
/// moments are zero, apart from a 4 Hz vibration of 0.3 ft/s^2 in X, Y and Z.
void RotorDerivatives(const RotorInputs& in, TableCursor& cursor, ControlBlock& controls,
                      RotorActuators& actuators, RotorState& x, RotorState& xdot, ForceSet& forces);

} // namespace kv::sim
