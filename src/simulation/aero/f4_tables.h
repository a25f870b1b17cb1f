#pragma once
/// Coefficient tables of the F-4 Phantom aerodynamic model.
///
/// The lift, drag and pitching-moment curves at -10, -5, 0, 5, 10, 15, 20, 30,
/// 45, 60 and 90 deg are the model's fixed F-4 data; the points between them
/// are linear interpolations. Every other table is an estimate built on the
/// published F-4C stability and control derivatives (Heffley and Jewell,
/// "Aircraft Handling Qualities Data", NASA CR-2144): their low-speed
/// magnitudes, with the usual trends in angle of attack (damping and control
/// power fading past the stall, weathercock stability lost near 30 deg) and in
/// Mach number (transonic drag rise, stabilator and aileron power falling
/// supersonically). They are not a transcription of the report's tables. Control derivatives keep
/// the report's signs (trailing edge down, left or right-wing-down positive); the model negates
/// them so that a positive control channel pitches up, rolls right and yaws right.

#include <array>

namespace kv::sim {

inline constexpr int kF4Alpha21Count = 21;  ///< -10..90 deg by 5
inline constexpr int kF4Alpha11Count = 11;  ///< -10..90 deg by 10
inline constexpr int kF4MachCount = 7;      ///< 0..2.4 by 0.4
inline constexpr int kF4FlapCount = 3;      ///< flap control 0, 0.5, 1
inline constexpr int kF4SlipAlphaCount = 3; ///< 0, 15, 30 deg
inline constexpr int kF4SlipBetaCount = 5;  ///< |beta| 0..20 deg by 5

struct F4Data {
    std::array<float, kF4Alpha21Count> l1; ///< lift coefficient at zero elevator and flap
    std::array<float, kF4Alpha21Count> d1; ///< drag coefficient at zero elevator and flap
    std::array<float, kF4Alpha21Count>
        p1; ///< pitching-moment coefficient at zero elevator and flap
    std::array<float, kF4Alpha21Count> d4; ///< drag due to pitch rate, per rad (negligible)
    std::array<float, kF4Alpha21Count>
        d5; ///< drag per degree of elevator (trailing edge down positive)
    std::array<float, kF4Alpha21Count>
        l2; ///< lift per degree of elevator (trailing edge down positive)
    std::array<float, kF4Alpha21Count> l5; ///< lift due to pitch rate, per rad
    std::array<float, kF4Alpha21Count> y1; ///< side force per degree of sideslip
    std::array<float, kF4Alpha21Count> y3; ///< side force due to roll rate, per rad
    std::array<float, kF4Alpha21Count> y4; ///< side force due to yaw rate, per rad
    std::array<float, kF4Alpha21Count> y5; ///< side force per degree of aileron
    std::array<float, kF4Alpha21Count>
        y6; ///< side force per degree of rudder (trailing edge left positive)
    std::array<float, kF4Alpha21Count>
        r1; ///< rolling moment per degree of sideslip (dihedral effect)
    std::array<float, kF4Alpha21Count> r3; ///< roll damping, per rad
    std::array<float, kF4Alpha21Count> r4; ///< rolling moment due to yaw rate, per rad
    std::array<float, kF4Alpha21Count> r5; ///< rolling moment per degree of aileron (right trailing
                                           ///< edge down positive, rolling left)
    std::array<float, kF4Alpha21Count> p4; ///< pitch damping, per rad
    std::array<float, kF4Alpha21Count>
        n1; ///< yawing moment per degree of sideslip (weathercock stability)
    std::array<float, kF4Alpha21Count> n3; ///< yawing moment due to roll rate, per rad
    std::array<float, kF4Alpha21Count> n4; ///< yaw damping, per rad
    std::array<float, kF4Alpha21Count> n5; ///< yawing moment per degree of aileron (adverse yaw)
    std::array<float, kF4Alpha11Count> r7; ///< rolling moment per degree of rudder
    std::array<float, kF4Alpha11Count>
        p5; ///< pitching moment per degree of stabilator (trailing edge down positive)
    std::array<float, kF4Alpha11Count> n7; ///< yawing moment per degree of rudder
    std::array<float, kF4MachCount> d2;    ///< transonic and supersonic drag rise
    std::array<float, kF4MachCount>
        l3; ///< compressibility correction of the stabilator lift, per degree
    std::array<float, kF4MachCount>
        y2; ///< compressibility correction of the side force per degree of sideslip
    std::array<float, kF4MachCount>
        r2; ///< compressibility correction of the dihedral effect, per degree
    std::array<float, kF4MachCount>
        r6; ///< compressibility correction of the aileron power, per degree
    std::array<float, kF4MachCount>
        p6; ///< compressibility correction of the stabilator power, per degree
    std::array<float, kF4MachCount>
        n2; ///< compressibility correction of the weathercock stability, per rad of sideslip
    std::array<float, kF4MachCount>
        n6; ///< compressibility correction of the aileron yaw, per degree
    std::array<float, kF4MachCount>
        n8; ///< compressibility correction of the rudder power, per degree
    std::array<float, kF4MachCount>
        r8; ///< compressibility correction of the rudder roll, per degree
    std::array<float, kF4FlapCount> d3; ///< drag of the trailing-edge flaps
    std::array<float, kF4FlapCount> l4; ///< lift of the trailing-edge flaps
    std::array<float, kF4FlapCount> p3; ///< pitching moment of the trailing-edge flaps
    /// Pitching moment of sideslip, rows by angle of attack (0, 15, 30 deg),
    /// columns by |beta| (0..20 deg by 5).
    std::array<float, kF4SlipAlphaCount * kF4SlipBetaCount> p2;
};

/// Breakpoints of the F-4 tables (deg, Mach, flap control).
extern const std::array<float, kF4Alpha21Count> kF4Alpha21;
extern const std::array<float, kF4Alpha11Count> kF4Alpha11;
extern const std::array<float, kF4MachCount> kF4Mach;
extern const std::array<float, kF4FlapCount> kF4Flap;
extern const std::array<float, kF4SlipAlphaCount> kF4SlipAlpha;
extern const std::array<float, kF4SlipBetaCount> kF4SlipBeta;

extern const F4Data kF4Data;

} // namespace kv::sim
