#include "export/effector_values.h"

#include "common/unit_constants.h"
#include "model/driver_codes.h"

#include <cmath>

namespace kv::exp {
namespace {

/// Index of the yaw degree of freedom in an effector's six.
constexpr std::size_t kYawAxis = 5;

float field(const model::MotionFrame& frame, int index) {
    return frame[static_cast<std::size_t>(index)];
}

} // namespace

float drivingQuantity(int code, const model::MotionFrame& frame, float yawOffset) {
    using namespace model;
    if (code >= kDriverAileron && code <= kDriverMainRotorRotation) {
        return field(frame, kFrameControls + code - kDriverAileron);
    }
    if (code == kDriverMainRotorFlap) {
        const float psi = (field(frame, kFrameMainRotor) + yawOffset) / kDegPerRad;
        return std::sin(psi) * field(frame, kFrameFlapSin) +
               std::cos(psi) * field(frame, kFrameFlapCos) + field(frame, kFrameConing);
    }
    if (code >= kDriverMainRotorPitch && code <= kDriverTransmission) {
        return field(frame, kFrameMainPitch + code - kDriverMainRotorPitch);
    }
    if (isStrutCode(code) || isPivotCode(code)) {
        return field(frame, kFrameStrut + driverTireNumber(code));
    }
    if (isTireRollCode(code)) {
        return field(frame, kFrameTireRoll + driverTireNumber(code));
    }
    if (code == kDriverExternalForce) {
        return field(frame, kFrameExternalForce);
    }
    return 0.0f;
}

std::array<float, 6> effectorValues(const model::EffectorRecord& effector,
                                    const model::MotionFrame& frame) {
    using namespace model;
    std::array<float, 6> values{};
    for (std::size_t i = 0; i < values.size(); ++i) {
        const int code = effector.drivers[i];
        if (isSkidIndicatorCode(code)) {
            values[i] = field(frame, kFrameSkid + driverTireNumber(code));
        } else if (code == kDriverTachometer) {
            values[i] = field(frame, kFrameTachometer);
        } else if (code >= kDriverAileron && code <= kDriverExternalForce) {
            values[i] =
                effector.offsets[i] +
                effector.scales[i] * drivingQuantity(code, frame, effector.offsets[kYawAxis]);
        } else {
            values[i] = effector.offsets[i];
        }
    }
    return values;
}

} // namespace kv::exp
