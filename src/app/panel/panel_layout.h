#pragma once
/// The instrument panel's pictures and where they go: the size of every image
/// the panel blits and the place of every dial, lamp, lever and key on the
/// 400 × 300 panel (pixels, y down). The pictures themselves are drawn by the
/// desktop program at these sizes.

#include <array>
#include <string_view>

namespace kv::app {

inline constexpr int kPanelWidth = 400;
inline constexpr int kPanelHeight = 300;
/// Rows of the gauge strip copied every frame during a run.
inline constexpr int kCarGaugeRows = 168;
inline constexpr int kAircraftGaugeRows = 194;
/// Pre-turned heading cards, 10° apart; card 0 has north up.
inline constexpr int kHeadingCards = 36;

/// The panel's images. Lamps, gear and the heading cards come in variants
/// (0 off / 1 on, or the card index); keys in the variants of `keyVariant`.
enum class PanelImage : int {
    CarBackground,
    Tachometer,
    Speedometer,
    CarBrakeLamp,
    CruiseLamp,
    DriveLamp,
    ReverseLamp,
    CarKey,
    AircraftBackground,
    AirspeedDial,
    Altimeter,
    HeadingCard,
    AircraftSymbol,
    LoadFactorDial,
    AutopilotLamp,
    AircraftBrakeLamp,
    Gear,
    LeverSlot,
    LeverKnob,
    FlapMark,
    AircraftKey,
};
inline constexpr int kPanelImageCount = 21;

struct PanelSize {
    int width = 0;
    int height = 0;
};

/// Width and height of an image (px).
PanelSize panelImageSize(PanelImage image);

/// The keys of the two key guides that change their look.
enum class PanelKey : int { F1, F2, F3, F4, F5, F6, F12, Q, B, R, P, G, F };
inline constexpr int kPanelKeyCount = 13;

/// How a key is drawn: normal, lit (green) or lit for an Alt mode (blue).
enum class KeyLight : int { Normal, Green, Blue };

/// The variant number of a key image.
constexpr int keyVariant(PanelKey key, KeyLight light) {
    return static_cast<int>(key) * 3 + static_cast<int>(light);
}
constexpr PanelKey keyOfVariant(int variant) {
    return static_cast<PanelKey>(variant / 3);
}
constexpr KeyLight lightOfVariant(int variant) {
    return static_cast<KeyLight>(variant % 3);
}

/// Key cap text ("F1", "Q") and the label under it on each panel ("Cockpit",
/// "Cruise" on the car panel, "Autopilot" on the aircraft panel).
std::string_view keyCap(PanelKey key);
std::string_view keyLabel(PanelKey key, bool aircraft);

struct PanelPoint {
    int x = 0;
    int y = 0;
};

/// Where a key of the car (or aircraft) key guide sits; x < 0 when that
/// panel has no such key.
PanelPoint keyPosition(PanelKey key, bool aircraft);

/// A key the backgrounds show but that never changes its look.
struct StaticKey {
    std::string_view cap;
    std::string_view label;
    PanelPoint at;
};
/// Car key guide: ESC, F11 and T.
inline constexpr std::array<StaticKey, 3> kCarStaticKeys{{
    {"F11", "Target", {264, 220}},
    {"ESC", "End", {12, 266}},
    {"T", "Sun", {327, 266}},
}};
/// Aircraft key guide: F11, ESC and the lever and rudder keys.
inline constexpr std::array<StaticKey, 8> kAircraftStaticKeys{{
    {"F11", "Target", {7, 269}},
    {"ESC", "End", {115, 269}},
    {"S", "Throttle +", {179, 242}},
    {"X", "Throttle -", {233, 242}},
    {"D", "Nozzle +", {179, 269}},
    {"C", "Nozzle -", {233, 269}},
    {"K", "Rudder L", {287, 269}},
    {"L", "Rudder R", {341, 269}},
}};

// Car panel (top-left corners of the images, needle centres).
inline constexpr PanelPoint kTachometerAt{12, 7};
inline constexpr PanelPoint kSpeedometerAt{173, 7};
inline constexpr PanelPoint kTachometerCentre{88, 82};
inline constexpr PanelPoint kSpeedometerCentre{249, 82};
inline constexpr int kCarNeedleLength = 67;
inline constexpr int kCarNeedleWidth = 5;
inline constexpr PanelPoint kCarBrakeLampAt{340, 32};
inline constexpr PanelPoint kCruiseLampAt{340, 130};
inline constexpr PanelPoint kDriveLampAt{352, 78};
inline constexpr PanelPoint kReverseLampAt{352, 98};

// Aircraft panel.
inline constexpr PanelPoint kAirspeedAt{8, 8};
inline constexpr PanelPoint kHeadingAt{140, 8};
inline constexpr PanelPoint kAircraftSymbolAt{181, 41};
inline constexpr PanelPoint kAltimeterAt{271, 8};
inline constexpr PanelPoint kLoadFactorAt{103, 136};
inline constexpr PanelPoint kAirspeedCentre{68, 68};
inline constexpr PanelPoint kAltimeterCentre{332, 68};
inline constexpr PanelPoint kLoadFactorCentre{129, 161};
inline constexpr int kAircraftNeedleLength = 50;
inline constexpr int kAltimeterShortHand = 25;
inline constexpr int kLoadFactorNeedleLength = 20;
inline constexpr int kAircraftNeedleWidth = 4;
inline constexpr PanelPoint kThrottleSlotAt{288, 127};
inline constexpr PanelPoint kNozzleSlotAt{350, 127};
inline constexpr PanelPoint kFlapSlotAt{14, 127};
inline constexpr PanelPoint kAutopilotLampAt{173, 140};
inline constexpr PanelPoint kAircraftBrakeLampAt{173, 156};
inline constexpr PanelPoint kGearAt{51, 141};

} // namespace kv::app
