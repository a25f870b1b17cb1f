#include "model/driver_codes.h"

#include <array>

namespace kv::model {

std::string_view driverName(int code) {
    static constexpr std::array<std::string_view, 21> kNames = {
        "None",
        "Aileron",
        "Elevator",
        "Rudder",
        "Flap",
        "Gear",
        "Throttle",
        "Brake",
        "Lateral Cyclic",
        "Longitudinal Cyclic",
        "Collective",
        "Peddal",
        "Nozzle",
        "Propeller Rotation",
        "Main Rotor Rotation",
        "Main Rotor Flap",
        "Main Rotor Pitch",
        "Tail Rotor Rotation",
        "Tail Rotor Pitch",
        "Tire Steer",
        "Transmission",
    };
    if (code >= 0 && code <= 20) return kNames[static_cast<std::size_t>(code)];
    if (isStrutCode(code)) return "Strut Compression";
    if (isTireRollCode(code)) return "Tire Roll";
    if (isPivotCode(code)) return "Pivot";
    if (code == kDriverExternalForce) return "External Force";
    if (isSkidIndicatorCode(code)) return "Skid Indicator";
    if (code == kDriverTachometer) return "Tachometer";
    return "";
}

int driverTireNumber(int code) {
    if (isStrutCode(code)) return code - kDriverStrutCompression;
    if (isTireRollCode(code)) return code - kDriverTireRoll;
    if (isPivotCode(code)) return code - kDriverPivot;
    if (isSkidIndicatorCode(code)) return code - kDriverSkidIndicator;
    return -1;
}

} // namespace kv::model
