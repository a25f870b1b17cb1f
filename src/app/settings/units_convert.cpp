#include "app/settings/units_convert.h"

#include "app/settings/coordinate_system.h"

namespace kv::app {

float toDisplayLength(float feet, float lengthUnitFactor) {
    return feet / lengthUnitFactor;
}

float fromDisplayLength(float value, float lengthUnitFactor) {
    return value * lengthUnitFactor;
}

float toDisplayArea(float squareFeet, float lengthUnitFactor) {
    return squareFeet / (lengthUnitFactor * lengthUnitFactor);
}

float fromDisplayArea(float value, float lengthUnitFactor) {
    return value * (lengthUnitFactor * lengthUnitFactor);
}

float toDisplayMetres(float metres, float lengthUnitFactor) {
    return metres / (lengthUnitFactor * kMetresPerFoot);
}

float fromDisplayMetres(float value, float lengthUnitFactor) {
    return value * (lengthUnitFactor * kMetresPerFoot);
}

float toDisplayGrid(float metres, float lengthUnitFactor) {
    return metres * kFeetPerMetre / lengthUnitFactor;
}

float fromDisplayGrid(float value, float lengthUnitFactor) {
    return value * lengthUnitFactor * kMetresPerFoot;
}

float toDisplayVertical(float down, std::int32_t rightHandedAxes) {
    return showsUp(rightHandedAxes) ? -down : down;
}

float fromDisplayVertical(float value, std::int32_t rightHandedAxes) {
    return showsUp(rightHandedAxes) ? -value : value;
}

float toDisplayVerticalLength(float downFeet, const WorkingUnits& units) {
    return toDisplayVertical(toDisplayLength(downFeet, units.lengthUnitFactor),
                             units.rightHandedAxes);
}

float fromDisplayVerticalLength(float value, const WorkingUnits& units) {
    return fromDisplayVertical(fromDisplayLength(value, units.lengthUnitFactor),
                               units.rightHandedAxes);
}

float toDisplayMass(float slugs, std::int32_t englishForceUnits) {
    return slugs / (englishForceUnits != 0 ? kSlugPerPound : kSlugPerKilogram);
}

float fromDisplayMass(float value, std::int32_t englishForceUnits) {
    return value * (englishForceUnits != 0 ? kSlugPerPound : kSlugPerKilogram);
}

float toDisplayInertia(float slugFt2, std::int32_t englishForceUnits) {
    return slugFt2 / (englishForceUnits != 0 ? kSlugPerPound : kSlugFt2PerKgM2);
}

float fromDisplayInertia(float value, std::int32_t englishForceUnits) {
    return value * (englishForceUnits != 0 ? kSlugPerPound : kSlugFt2PerKgM2);
}

float toDisplayForce(float poundsForce, std::int32_t englishForceUnits) {
    return englishForceUnits != 0 ? poundsForce : poundsForce * kNewtonsPerPound;
}

float fromDisplayForce(float value, std::int32_t englishForceUnits) {
    return englishForceUnits != 0 ? value : value * kPoundsPerNewton;
}

float toDisplaySpeed(float feetPerSecond, float lengthUnitFactor) {
    return feetPerSecond * (isMetricLength(lengthUnitFactor) ? kKphPerFps : kMphPerFps);
}

float fromDisplaySpeed(float value, float lengthUnitFactor) {
    return value * (isMetricLength(lengthUnitFactor) ? kFpsPerKph : kFpsPerMph);
}

float toDisplayAngle(float radians) {
    return radians * kDegPerRad;
}

float fromDisplayAngle(float degrees) {
    return degrees * kRadPerDeg;
}

} // namespace kv::app
