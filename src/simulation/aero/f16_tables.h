#pragma once
/// Coefficient tables of the F-16 Falcon aerodynamic model, in body axes.
///
/// Between -10 and 45 deg of angle of attack the tables are the low-speed F-16
/// wind-tunnel data of Nguyen et al., NASA TP-1538, in the form Stevens and
/// Lewis tabulate them ("Aircraft Control and Simulation", app. A): the axial
/// and normal force, pitching moment, dihedral and weathercock tables, the
/// damping derivatives and the control increments, the normal force reduced by
/// (1 - beta^2) and the side force -0.02 per degree of sideslip as they give
/// them. Outside that range (-20 and -15 deg; 50 to 90 deg) the values are
/// estimates continued smoothly toward flat-plate behaviour at high angles
/// (normal force about 1.9 at 90 deg, axial force falling to zero, nose-down
/// pitching moment, fading control power); the sideslip rows between the
/// report's 5-deg steps are linear interpolations. The basic tables hold the
/// leading-edge flap down (flap control 1); the flap tables hold it retracted,
/// an estimate with less lift, more drag and weaker lateral stability above
/// 10 deg. The elevator tables are the slopes of the same pitching-moment and
/// axial-force data between -12 and +12 deg of stabilator, and -0.19 per 25 deg
/// on the normal force, as Stevens and Lewis give it. Pitching moment is about the reference point
/// at 0.35 chord; the model moves it to 0.25 chord. Control tables are signed so that positive
/// channels pitch up, roll right and yaw right.

#include <array>

namespace kv::sim {

inline constexpr int kF16AlphaCount = 20;     ///< -20..60 deg by 5, then 70, 80, 90
inline constexpr int kF16FlapAlphaCount = 14; ///< -20..45 deg by 5
inline constexpr int kF16BetaCount = 19;      ///< -30..30 deg, 2-deg steps within +-10
/// Values of a basic table: rows by sideslip, columns by angle of attack.
inline constexpr int kF16TableSize = kF16BetaCount * kF16AlphaCount;
/// Values of a flap table: rows by sideslip, columns by the flap angles of attack.
inline constexpr int kF16FlapTableSize = kF16BetaCount * kF16FlapAlphaCount;

using F16Table = std::array<float, kF16TableSize>;
using F16FlapTable = std::array<float, kF16FlapTableSize>;
using F16AlphaTable = std::array<float, kF16AlphaCount>;

struct F16Data {
    F16Table cx;              ///< axial force, flap down
    F16Table cz;              ///< normal force (negative up), flap down
    F16Table cm;              ///< pitching moment about 0.35 chord, flap down
    F16Table cy;              ///< side force, flap down
    F16Table cl;              ///< rolling moment, flap down
    F16Table cn;              ///< yawing moment, flap down
    F16FlapTable cxFlap;      ///< axial force, flap retracted
    F16FlapTable czFlap;      ///< normal force, flap retracted
    F16FlapTable cmFlap;      ///< pitching moment, flap retracted
    F16FlapTable cyFlap;      ///< side force, flap retracted
    F16FlapTable clFlap;      ///< rolling moment, flap retracted
    F16FlapTable cnFlap;      ///< yawing moment, flap retracted
    F16AlphaTable cxq;        ///< axial force due to pitch rate, per rad
    F16AlphaTable czq;        ///< normal force due to pitch rate, per rad
    F16AlphaTable cmq;        ///< pitch damping, per rad
    F16AlphaTable cyp;        ///< side force due to roll rate, per rad
    F16AlphaTable cyr;        ///< side force due to yaw rate, per rad
    F16AlphaTable clp;        ///< roll damping, per rad
    F16AlphaTable clr;        ///< rolling moment due to yaw rate, per rad
    F16AlphaTable cnp;        ///< yawing moment due to roll rate, per rad
    F16AlphaTable cnr;        ///< yaw damping, per rad
    F16AlphaTable cyAileron;  ///< side force at 30 deg of aileron
    F16AlphaTable clAileron;  ///< rolling moment at 30 deg of aileron
    F16AlphaTable cnAileron;  ///< yawing moment at 30 deg of aileron
    F16AlphaTable cyRudder;   ///< side force at 30 deg of rudder
    F16AlphaTable clRudder;   ///< rolling moment at 30 deg of rudder
    F16AlphaTable cnRudder;   ///< yawing moment at 30 deg of rudder
    F16AlphaTable cxElevator; ///< axial force per degree of elevator
    F16AlphaTable czElevator; ///< normal force per degree of elevator
    F16AlphaTable cmElevator; ///< pitching moment per degree of elevator
    F16AlphaTable cxBrake;    ///< axial force of the open speed brake
};

/// Breakpoints of the F-16 tables (deg).
extern const std::array<float, kF16AlphaCount> kF16Alpha;
extern const std::array<float, kF16FlapAlphaCount> kF16FlapAlpha;
extern const std::array<float, kF16BetaCount> kF16Beta;

extern const F16Data kF16Data;

} // namespace kv::sim
