#include "app/customize/effector_driver_lists.h"

#include "model/driver_codes.h"
#include "model/object_record.h"

#include <array>

namespace kv::app {

namespace {

using namespace model;

// Every list starts with the control channels, codes 0..12.
#define KV_COMMON_DRIVERS                                                                          \
    {"None", kDriverNone}, {"Aileron", kDriverAileron}, {"Elevator", kDriverElevator},             \
        {"Rudder", kDriverRudder}, {"Flap", kDriverFlap}, {"Gear", kDriverGear},                   \
        {"Throttle", kDriverThrottle}, {"Brake", kDriverBrake},                                    \
        {"Lateral Cyclic", kDriverLateralCyclic},                                                  \
        {"Longitudinal Cyclic", kDriverLongitudinalCyclic}, {"Collective", kDriverCollective},     \
        {"Peddal", kDriverPeddal}, {                                                               \
        "Nozzle", kDriverNozzle                                                                    \
    }

constexpr std::array<DriverChoice, 15> kTranslation{{
    KV_COMMON_DRIVERS,
    {"Transmission", kDriverTransmission},
    {"External Force", kDriverExternalForce},
}};
constexpr std::array<DriverChoice, 16> kVertical{{
    KV_COMMON_DRIVERS,
    {"Transmission", kDriverTransmission},
    {"External Force", kDriverExternalForce},
    {"Strut Compression", kDriverStrutCompression},
}};
constexpr std::array<DriverChoice, 16> kRoll{{
    KV_COMMON_DRIVERS,
    {"External Force", kDriverExternalForce},
    {"Main Rotor Pitch", kDriverMainRotorPitch},
    {"Tail Rotor Pitch", kDriverTailRotorPitch},
}};
constexpr std::array<DriverChoice, 17> kPitch{{
    KV_COMMON_DRIVERS,
    {"External Force", kDriverExternalForce},
    {"Pivot", kDriverPivot},
    {"Tire Roll", kDriverTireRoll},
    {"Main Rotor Flap", kDriverMainRotorFlap},
}};
constexpr std::array<DriverChoice, 18> kYaw{{
    KV_COMMON_DRIVERS,
    {"External Force", kDriverExternalForce},
    {"Tire Steer", kDriverTireSteer},
    {"Propeller Rotation", kDriverPropellerRotation},
    {"Main Rotor Rotation", kDriverMainRotorRotation},
    {"Tail Rotor Rotation", kDriverTailRotorRotation},
}};

#undef KV_COMMON_DRIVERS

} // namespace

std::span<const DriverChoice> driverChoices(int dof) {
    switch (dof) {
    case kDofForward:
    case kDofRight:
        return kTranslation;
    case kDofDown:
        return kVertical;
    case kDofRoll:
        return kRoll;
    case kDofPitch:
        return kPitch;
    case kDofYaw:
        return kYaw;
    default:
        return {};
    }
}

int driverListPosition(int dof, int code) {
    const auto choices = driverChoices(dof);
    for (std::size_t i = 0; i < choices.size(); ++i) {
        if (choices[i].code == code)
            return static_cast<int>(i);
    }
    return -1;
}

int driverCodeAt(int dof, int position) {
    const auto choices = driverChoices(dof);
    if (position < 0 || static_cast<std::size_t>(position) >= choices.size())
        return kDriverNone;
    return choices[static_cast<std::size_t>(position)].code;
}

int reducedDriverCode(int code) {
    if (isStrutCode(code))
        return kDriverStrutCompression;
    if (isTireRollCode(code))
        return kDriverTireRoll;
    if (isPivotCode(code))
        return kDriverPivot;
    return code;
}

} // namespace kv::app
