#pragma once
/// Coefficient tables of the Boeing 747 aerodynamic model.
///
/// The lift and drag curves (flaps up and landing flap) and the lift correction
/// in Mach number are the model's fixed 747 data. The remaining tables are
/// estimates built on the published 747 stability and control derivatives
/// (Heffley and Jewell, "Aircraft Handling Qualities Data", NASA CR-2144, power
/// approach and cruise): their magnitudes, with the usual trends in angle of
/// attack and Mach number, and a pitching moment chosen for a static margin of
/// about 18 % that the elevator can trim from approach to cruise. They are not a
/// transcription of the report's tables. Control derivatives keep the report's signs
/// (trailing edge down or left positive) except the aileron tables, whose sign
/// the model applies directly: a positive aileron channel rolls right.
/// Angle-of-attack tables are indexed by the shifted angle alpha + 1.5 deg.

#include <array>

namespace kv::sim {

inline constexpr int kB747AlphaCount = 7; ///< shifted angle of attack -5..25 deg by 5
inline constexpr int kB747MachCount = 6;  ///< Mach 0..1 by 0.2
inline constexpr int kB747BetaCount = 7;  ///< sideslip -15..15 deg by 5
inline constexpr int kB747FlapCount = 2;  ///< flap control 0 (up), 1 (landing)
/// Values of a table in flap and angle of attack: rows by flap.
inline constexpr int kB747FlapAlphaCount = kB747FlapCount * kB747AlphaCount;

struct B747Data {
    std::array<float, kB747FlapAlphaCount> l0; ///< lift coefficient
    std::array<float, kB747FlapAlphaCount> d0; ///< drag coefficient
    std::array<float, kB747FlapAlphaCount> l3; ///< lift of the spoilers at full brake
    std::array<float, kB747FlapAlphaCount> y1; ///< side force due to roll rate, per rad
    std::array<float, kB747FlapAlphaCount> y2; ///< side force due to yaw rate, per rad
    std::array<float, kB747FlapAlphaCount> r3; ///< dihedral effect, per degree of sideslip
    std::array<float, kB747FlapAlphaCount> r4; ///< roll damping, per rad
    std::array<float, kB747FlapAlphaCount> p0; ///< pitching-moment coefficient
    std::array<float, kB747FlapAlphaCount> n3; ///< yawing moment due to roll rate, per rad
    std::array<float, kB747FlapAlphaCount> n4; ///< yaw damping, per rad
    std::array<float, kB747AlphaCount> d3;     ///< drag per degree of elevator
    std::array<float, kB747AlphaCount> y3;     ///< side force per degree of rudder
    std::array<float, kB747AlphaCount> r1; ///< rolling moment per degree of aileron (right roll)
    std::array<float, kB747AlphaCount> r5; ///< rolling moment due to yaw rate, per rad
    std::array<float, kB747AlphaCount> r6; ///< rolling moment per degree of rudder
    std::array<float, kB747AlphaCount> n1; ///< yawing moment per degree of aileron (adverse yaw)
    std::array<float, kB747AlphaCount> n2; ///< weathercock stability, per degree of sideslip
    std::array<float, kB747AlphaCount> n5; ///< yawing moment per degree of rudder
    std::array<float, kB747MachCount> d2;  ///< drag rise
    std::array<float, kB747MachCount> l1;  ///< lift-curve correction, per degree of alpha
    std::array<float, kB747MachCount> l2;  ///< lift due to pitch rate, per rad
    std::array<float, kB747MachCount> l4;  ///< lift per degree of elevator
    std::array<float, kB747MachCount> p2;  ///< pitch damping, per rad
    std::array<float, kB747MachCount> p3;  ///< pitching moment per degree of elevator
    std::array<float, kB747BetaCount> d1;  ///< drag of sideslip, per degree (odd in beta)
    std::array<float, kB747BetaCount> r2;  ///< factor on the dihedral effect at large sideslip
    std::array<float, kB747BetaCount> p1;  ///< pitching moment of sideslip
};

/// Breakpoints of the 747 tables (deg, Mach, flap control).
extern const std::array<float, kB747AlphaCount> kB747Alpha;
extern const std::array<float, kB747MachCount> kB747Mach;
extern const std::array<float, kB747BetaCount> kB747Beta;
extern const std::array<float, kB747FlapCount> kB747Flap;

extern const B747Data kB747Data;

} // namespace kv::sim
