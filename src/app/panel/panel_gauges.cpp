#include "app/panel/panel_gauges.h"

#include "common/unit_constants.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace kv::app {

namespace {

/// Speeds (ft/s) at which the speedometer needle stops: 190 MPH and 190 KPH.
constexpr float kSpeedStopImperial = 278.66678f;
constexpr float kSpeedStopMetric = 173.15334f;
/// Needle degrees per ft/s, so that the stop is 285° from zero.
constexpr float kSpeedDegImperial = 1.0227269f;
constexpr float kSpeedDegMetric = 1.6459401f;
constexpr float kSpeedZeroDeg = 120.0f;
constexpr float kTachZeroDeg = 135.0f;
constexpr float kTachDegPerRpm = 0.03f;
constexpr float kTachMaxRpm = 9000.0f;
constexpr float kSpeedReadoutMax = 999.0f;

/// The dials with zero at the top of the face.
constexpr float kTopDeg = 270.0f;
constexpr float kAirspeedStop = 759.51447f; ///< ft/s (450 knots)
constexpr float kAirspeedDegPerFps = 0.47398704f;
constexpr float kAltLongDegPerFt = 0.36f;
constexpr float kAltShortDegPerFt = 0.036f;
constexpr float kLoadZeroDeg = 150.0f;
constexpr float kLoadDegPerG = 30.0f;
constexpr float kLoadMinG = -2.0f;
constexpr float kLoadMaxG = 7.0f;
constexpr float kMachMax = 10.0f;
constexpr int kAltitudeMax = 99999;

/// Lever travel (px) from one end of its slot to the other.
constexpr int kLeverTravel = 26;
constexpr int kThrottleKnobRest = 155;
constexpr int kNozzleKnobRest = 129;
/// Flap mark inside its slot: centred across, moving down with the flaps.
constexpr int kFlapMarkInset = 10;
constexpr int kFlapMarkTop = 6;
constexpr int kFlapMarkTravel = 38;

} // namespace

float speedNeedleAngle(float groundSpeed, bool imperial) {
    const float v = std::fabs(groundSpeed);
    return imperial ? kSpeedZeroDeg + std::min(v, kSpeedStopImperial) * kSpeedDegImperial
                    : kSpeedZeroDeg + std::min(v, kSpeedStopMetric) * kSpeedDegMetric;
}

float tachometerNeedleAngle(float rpm) {
    return kTachZeroDeg + std::clamp(rpm, 0.0f, kTachMaxRpm) * kTachDegPerRpm;
}

std::string speedText(float groundSpeed, bool imperial) {
    const float shown =
        std::min(std::fabs(groundSpeed) * (imperial ? kMphPerFps : kKphPerFps), kSpeedReadoutMax);
    return std::to_string(static_cast<int>(shown));
}

std::string rpmText(float rpm) {
    // Held to what an int shows: a broken engine model must not overflow the cast.
    return std::to_string(static_cast<int>(std::clamp(rpm, -1.0e9f, 1.0e9f)));
}

PanelPoint rpmTextPosition(float rpm) {
    return rpm >= 10000.0f ? PanelPoint{69, 128} : PanelPoint{73, 128};
}

std::string_view speedUnitText(bool imperial) {
    return imperial ? "MPH" : "KPH";
}

PanelPoint speedUnitPosition(bool imperial) {
    return imperial ? PanelPoint{239, 103} : PanelPoint{241, 103};
}

float airspeedNeedleAngle(float airspeed) {
    return kTopDeg + std::clamp(airspeed, 0.0f, kAirspeedStop) * kAirspeedDegPerFps;
}

float altimeterLongHandAngle(float altitude) {
    // Whole turns are dropped first so that single precision keeps the hand exact.
    return kTopDeg + std::fmod(altitude * kAltLongDegPerFt, 360.0f);
}

float altimeterShortHandAngle(float altitude) {
    return kTopDeg + std::fmod(altitude * kAltShortDegPerFt, 360.0f);
}

float loadFactorNeedleAngle(float g) {
    return kLoadZeroDeg + std::clamp(g, kLoadMinG, kLoadMaxG) * kLoadDegPerG;
}

std::string machText(float mach) {
    char text[16];
    std::snprintf(text, sizeof text, "%0.2f",
                  static_cast<double>(std::clamp(mach, 0.0f, kMachMax)));
    return text;
}

std::string altitudeText(float altitude) {
    // NaN reads as zero, like a negative altitude.
    const int a = altitude > 0.0f
                      ? static_cast<int>(std::min(altitude, static_cast<float>(kAltitudeMax)))
                      : 0;
    char text[16];
    std::snprintf(text, sizeof text, "%02d,%03d", a / 1000, a % 1000);
    return text;
}

int headingCard(float headingRad) {
    float deg = std::fmod(headingRad * kDegPerRad, 360.0f);
    if (!(deg >= 0.0f))
        deg = deg < 0.0f ? deg + 360.0f : 0.0f;
    int i = static_cast<int>(deg / 10.0f + 0.5f);
    if (i >= kHeadingCards)
        i = 0;
    return i;
}

int throttleKnobTop(float throttle) {
    return kThrottleKnobRest -
           static_cast<int>(std::clamp(throttle, 0.0f, 1.0f) * static_cast<float>(kLeverTravel));
}

int nozzleKnobTop(float nozzle) {
    return kNozzleKnobRest +
           static_cast<int>(std::clamp(nozzle, 0.0f, 1.0f) * static_cast<float>(kLeverTravel));
}

PanelPoint flapMarkPosition(float flaps) {
    return {
        kFlapSlotAt.x + kFlapMarkInset,
        kFlapSlotAt.y + kFlapMarkTop +
            static_cast<int>(std::clamp(flaps, 0.0f, 1.0f) * static_cast<float>(kFlapMarkTravel))};
}

NeedleEnd needleEnd(PanelPoint centre, float length, float angleDeg) {
    const float a = angleDeg * kRadPerDeg;
    return {static_cast<float>(centre.x) + length * std::cos(a),
            static_cast<float>(centre.y) + length * std::sin(a)};
}

} // namespace kv::app
