#pragma once
/// The thrust-producing engines: propeller, jet, ducted fan, VTOL jet and
/// spacecraft. Each rewrites the propulsion force set (body axes) and the
/// tachometer; thrust is negative when the transmission is in reverse.

#include "simulation/body/body_state.h"
#include "simulation/sim_object.h"

namespace kv::sim {

/// Propeller speed at zero and full throttle add up as 800 + 1700*t (rev/min).
inline constexpr float kPropellerIdleRpm = 800.0f;
inline constexpr float kPropellerRpmRange = 1700.0f;
/// Propeller speed of a full tachometer (rev/min).
inline constexpr float kPropellerFullScaleRpm = 2500.0f;
/// Below this airspeed (ft/s) the propeller gives its static thrust.
inline constexpr float kPropellerStaticSpeed = 1.0f;
/// Altitudes (ft) where the jet and the VTOL jet thrust reach zero.
inline constexpr float kJetCeiling = 55000.0f;
inline constexpr float kVtolJetCeiling = 60000.0f;
/// Distance of the ducted fan behind the reference point (ft).
inline constexpr float kDuctedFanArm = 5.0f;

/// Propeller efficiency at `altitude` (ft): 0.7 + 0.007075 h - 0.000072 h^2,
/// h in thousands of feet.
float propellerEfficiency(float altitude);

/// Power P (hp) times the factor and throttle, divided by the airspeed: thrust
/// along body x, the gyroscopic moment of the spinning propeller, the
/// tachometer, and in stage 2 the advance of the propeller channel.
void propellerEngine(int stage, const BodyState& state, SimObject& obj);

/// Two engines of P (lbf) each, falling linearly to zero at 55000 ft, inclined
/// 5.25 deg below the body axis and offset from the centre of gravity.
void jetEngine(const BodyState& state, SimObject& obj);

/// P (hp) times factor and throttle as thrust, vectored sideways by the aileron
/// channel, acting 5 ft behind the reference point; turns the propeller channel.
void ductedFanEngine(int stage, SimObject& obj);

/// P (lbf) falling to zero at 60000 ft, swivelled down by the nozzle channel,
/// with reaction-control moments from the cyclic and pedal channels.
void vtolJetEngine(const BodyState& state, SimObject& obj);

/// P (lbf) along body x, with moments of P on the aileron, elevator and pedal channels.
void spacecraftEngine(SimObject& obj);

/// Rate (rad/s) of the propeller channel for the object's blade count and
/// frame period; an object without blades turns it as if it had one.
float propellerChannelRate(const PropulsionSettings& settings);

} // namespace kv::sim
