#pragma once
/// Driver codes: what simulated quantity moves each degree of freedom of an
/// effector. Codes 21..50 and 52..61 carry a tire number in their last digit.

#include <string_view>

namespace kv::model {

enum DriverCode : int {
    kDriverNone = 0,
    kDriverAileron = 1,
    kDriverElevator = 2,
    kDriverRudder = 3,
    kDriverFlap = 4,
    kDriverGear = 5,
    kDriverThrottle = 6,
    kDriverBrake = 7,
    kDriverLateralCyclic = 8,
    kDriverLongitudinalCyclic = 9,
    kDriverCollective = 10,
    kDriverPeddal = 11,
    kDriverNozzle = 12,
    kDriverPropellerRotation = 13,
    kDriverMainRotorRotation = 14,
    kDriverMainRotorFlap = 15,
    kDriverMainRotorPitch = 16,
    kDriverTailRotorRotation = 17,
    kDriverTailRotorPitch = 18,
    kDriverTireSteer = 19,
    kDriverTransmission = 20,
    kDriverStrutCompression = 21, ///< + tire number 0..9
    kDriverTireRoll = 31,         ///< + tire number 0..9
    kDriverPivot = 41,            ///< + tire number 0..9
    kDriverExternalForce = 51,
    kDriverSkidIndicator = 52,    ///< + tire number, used unscaled by Sound effectors
    kDriverTachometer = 62,       ///< used unscaled by Sound effectors
    kDriverCodeCount = 63,
};

/// The name the editor shows for a code ("Strut Compression" for any of 21..30).
/// Codes outside 0..62 give "".
std::string_view driverName(int code);

/// Tire number carried by a numbered code (21..50, 52..61), else -1.
int driverTireNumber(int code);

inline bool isStrutCode(int code) { return code >= 21 && code <= 30; }
inline bool isTireRollCode(int code) { return code >= 31 && code <= 40; }
inline bool isPivotCode(int code) { return code >= 41 && code <= 50; }
inline bool isSkidIndicatorCode(int code) { return code >= 52 && code <= 61; }

} // namespace kv::model
