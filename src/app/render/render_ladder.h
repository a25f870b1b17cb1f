#pragma once
/// The head-up pitch ladder of cockpit mode: which rungs and digits to call for
/// a pitch, and the smoothed flight-path marker.

#include <array>
#include <vector>

namespace kv::app {

inline constexpr int kDigitListBase = 4000; ///< lists 4000-4009: digits 0-9
inline constexpr int kSeparatorList = 4010;
inline constexpr int kRungListBase = 4011; ///< lists 4011-4047: rungs -90..+90 deg
inline constexpr int kRungListLast = 4047;
inline constexpr int kFlightPathMarkerList = 3002;
inline constexpr int kNoseSymbolList = 3003;
inline constexpr float kDigitSpacing = 12.0f;
inline constexpr float kOneDigitY = -63.4675f;
inline constexpr float kTwoDigitY = -75.4675f;
inline constexpr float kSecondDigitsOffset = 118.935f;
/// Ladder colour (RGB).
inline constexpr std::array<float, 3> kLadderColour{0.04f, 1.0f, 0.57f};

struct LadderRung {
    int angle = 0;                ///< a (deg), the rotation about y
    int rungList = kRungListBase; ///< list of the rung, reflected beyond +-90 deg
    bool turned = false;          ///< beyond +-90 deg: drawn turned 180 deg about z
    std::vector<int> digitLists;  ///< one list per digit of the shown angle
    float digitY = kOneDigitY;    ///< y of the first digit; each next one 12 further
};

/// The nearest 5-degree step k = floor(pitch * 0.2 + 0.5).
int ladderStep(float pitchDeg);
/// The three rungs 5k - 5, 5k, 5k + 5 around the object's pitch.
std::array<LadderRung, 3> ladderRungs(float pitchDeg);

/// Angle of attack and sideslip smoothed over frames (deg).
struct FlightPathMarker {
    float alpha = 0.0f;
    float beta = 0.0f;
    /// Smooths in this frame's values; true when the marker is drawn.
    bool update(float alphaDeg, float betaDeg);
};

} // namespace kv::app
