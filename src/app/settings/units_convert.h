#pragma once
/// Conversions between internal values and the numbers dialogs show and take.
///
/// "Display" turns an internal value into what the user reads; "entry" turns a
/// typed number back into the internal value. All arithmetic is single
/// precision with the constants of units.h.

#include "app/settings/units.h"

namespace kv::app {

/// Length (ft) to working units.
float toDisplayLength(float feet, float lengthUnitFactor);
/// Entered working units to length (ft).
float fromDisplayLength(float value, float lengthUnitFactor);
/// Area (ft^2) to square working units.
float toDisplayArea(float squareFeet, float lengthUnitFactor);
/// Entered square working units to area (ft^2).
float fromDisplayArea(float value, float lengthUnitFactor);

/// A quantity stored in metres to working units.
float toDisplayMetres(float metres, float lengthUnitFactor);
/// Entered working units to metres.
float fromDisplayMetres(float value, float lengthUnitFactor);
/// Grid spacing or size (m) to working units: metres x 3.2808 / factor.
float toDisplayGrid(float metres, float lengthUnitFactor);
/// Entered grid spacing or size to metres: (value x factor) x 0.3048037.
float fromDisplayGrid(float value, float lengthUnitFactor);

/// Vertical component: stored "down" values are shown as they are under a
/// "Down" label (right-handed axes) or negated under an "Up" label. Applies to
/// positions, velocities and forces, never to angles, rates or moments.
float toDisplayVertical(float down, std::int32_t rightHandedAxes);
/// Entered vertical value back to "down" (the same sign rule).
float fromDisplayVertical(float value, std::int32_t rightHandedAxes);
/// Vertical length (ft, down) to working units with the sign rule.
float toDisplayVerticalLength(float downFeet, const WorkingUnits& units);
/// Entered vertical length to ft (down) with the sign rule.
float fromDisplayVerticalLength(float value, const WorkingUnits& units);

/// Mass (slug) to lb (English) or kg (metric).
float toDisplayMass(float slugs, std::int32_t englishForceUnits);
/// Entered lb or kg to mass (slug).
float fromDisplayMass(float value, std::int32_t englishForceUnits);
/// Moment of inertia (slug-ft^2) to lb-ft^2 (English) or kg-m^2 (metric).
float toDisplayInertia(float slugFt2, std::int32_t englishForceUnits);
/// Entered lb-ft^2 or kg-m^2 to moment of inertia (slug-ft^2).
float fromDisplayInertia(float value, std::int32_t englishForceUnits);

/// Force or thrust (lbf) to lbf (English) or N (metric).
float toDisplayForce(float poundsForce, std::int32_t englishForceUnits);
/// Entered lbf or N to force (lbf).
float fromDisplayForce(float value, std::int32_t englishForceUnits);

/// Speed (ft/s) to km/h when the length unit is metric, else mph.
float toDisplaySpeed(float feetPerSecond, float lengthUnitFactor);
/// Entered km/h or mph to speed (ft/s).
float fromDisplaySpeed(float value, float lengthUnitFactor);

/// Angle (rad) to degrees.
float toDisplayAngle(float radians);
/// Entered degrees to angle (rad).
float fromDisplayAngle(float degrees);

} // namespace kv::app
