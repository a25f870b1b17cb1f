#pragma once
// Records and working units shared by the customization dialog tests.

#include "app/settings/units.h"
#include "model/object_model.h"
#include "model/object_record.h"
#include "model/template.h"

#include <array>
#include <cstring>
#include <string>

namespace kv::app::test {

/// The built-in vehicle of `vehicleType` as a fresh record.
inline model::ObjectRecord templateRecord(int vehicleType) {
    model::ObjectRecord r;
    model::resetObject(r);
    r.vehicleType = vehicleType;
    model::applyTemplate(r);
    return r;
}

/// A car whose values no display format shows exactly: every conversion and
/// rounding of the dialogs would show on it.
inline model::ObjectRecord awkwardRecord() {
    model::ObjectRecord r = templateRecord(model::kVehicleCar);
    r.mass.mass = 1.2345678f;
    r.mass.inertia = {3.3333333f, 3.3333333f, 3.3333333f, 3.3333333f, 7.7777777f,
                      3.3333333f, 3.3333333f, 3.3333333f, 9.1234567f};
    r.mass.rollPitchCoupling = -0.039215688f;
    r.mass.rollYawCoupling = 0.0049f;
    r.mass.pitchYawCoupling = 0.333333f;
    r.tires.braking = 0.3337f;
    r.tires.surface = 201;
    r.tires.drive[0] = 7; // any non-zero word means driven
    r.tires.spring = {0.4567f, 0.123456f, 0.99999f, 0.0001f};
    r.tires.damping = {0.3333f, 0.71717f, 0.00001f, 1.0f};
    r.enginePower = 175.04321f;
    r.aero.span = 1.23456789f;
    r.aero.area = 22.7312345f;
    r.aero.aspectRatio = 1.000049f;
    r.aero.initialAoa = 0.0123456f;
    for (std::size_t k = 0; k < r.aero.coefficients.size(); ++k)
        r.aero.coefficients[k] = 0.0123456789f * static_cast<float>(k + 1) - 0.1f;
    r.collisionSpring = 0.40404f;
    r.collisionDamping = 0.123456f;
    r.collisionFriction = 0.987654f;
    return r;
}

/// Working units: metric or English force units with one length unit.
inline WorkingUnits unitsOf(std::int32_t english, float lengthUnitFactor,
                            std::int32_t rightHanded = 0) {
    WorkingUnits u;
    u.englishForceUnits = english;
    u.lengthUnitFactor = lengthUnitFactor;
    u.rightHandedAxes = rightHanded;
    return u;
}

} // namespace kv::app::test
