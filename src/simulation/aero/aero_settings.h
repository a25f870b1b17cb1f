#pragma once
/// Aerodynamic model choice and the linear model's data of a simulated object,
/// taken from the object record when the run is set up.

#include "model/object_record.h"

#include <array>

namespace kv::sim {

/// Index of each linear-model coefficient in the object record's stored order.
enum LinearCoefficient : int {
    kLiftAoa = 0,
    kLiftPitchRate,
    kLiftElevator,
    kBasicDrag,
    kDragLiftSquared,
    kDragElevator,
    kPitchAoa,
    kPitchPitchRate,
    kPitchElevator,
    kRollSkid,
    kRollRollRate,
    kRollYawRate,
    kRollAileron,
    kRollRudder,
    kYawSkid,
    kYawRollRate,
    kYawYawRate,
    kYawAileron,
    kYawRudder,
    kSideSkid,
    kSideRollRate,
    kSideYawRate,
    kSideAileron,
    kSideRudder,
    kLinearCoefficientCount,
};
static_assert(kLinearCoefficientCount == model::kAeroCoefficientCount);

struct AeroSettings {
    int model = model::kAeroLinear; ///< aerodynamic model code (see model::AeroModel)
    float span = 0.0f;              ///< wing span b (ft)
    float area = 0.0f;              ///< reference area S (ft^2); frontal area of ground vehicles
    float chord = 0.0f;         ///< mean chord b/AR (ft); 0 when the aspect ratio is not positive
    float initialAoa = 0.0f;    ///< wing incidence alpha0 (rad)
    float aileronLimit = 0.0f;  ///< full aileron deflection (deg)
    float elevatorLimit = 0.0f; ///< full elevator deflection (deg)
    float rudderLimit = 0.0f;   ///< full rudder deflection (deg)
    std::array<float, kLinearCoefficientCount> coefficients{}; ///< per rad or per unit
    /// Factor on the model's force that carries it from the aircraft the model's
    /// data describe over to this object: the ratio of their masses, so that the
    /// object accelerates as that aircraft would. 1 where the data fit any object.
    float forceScale = 1.0f;
    /// The same for the rolling, pitching and yawing moments: the ratios of the
    /// roll, pitch and yaw inertias.
    std::array<float, 3> momentScale{1.0f, 1.0f, 1.0f};
};

/// The aerodynamic settings of `record`, whose run limits must already be derived.
AeroSettings aeroSettingsFrom(const model::ObjectRecord& record);

} // namespace kv::sim
