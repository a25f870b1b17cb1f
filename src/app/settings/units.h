#pragma once
/// Working length units: the six units a user can work in, their names and the
/// stored factor of each. The conversion factors themselves live with every
/// other constant in common/unit_constants.h.

#include "common/unit_constants.h"

#include <array>
#include <cstdint>
#include <string_view>

namespace kv::app {

/// The six working length units, in the order they are recognised.
enum class LengthUnit : int { Millimetre, Centimetre, Metre, Inch, Foot, Yard };

/// One row of the length-unit table.
struct LengthUnitInfo {
    LengthUnit unit;
    std::string_view shortName; ///< label suffix, e.g. "mm"
    std::string_view longName;  ///< e.g. "millimeters"
    std::string_view dxfName;   ///< name in a DXF header comment, e.g. "Millimeters"
    float feetPerUnit;          ///< the stored `lengthUnitFactor`
    bool metric;
};

inline constexpr std::array<LengthUnitInfo, 6> kLengthUnits{{
    {LengthUnit::Millimetre, "mm", "millimeters", "Millimeters", kFeetPerMillimetre, true},
    {LengthUnit::Centimetre, "cm", "centimeters", "Centimeters", kFeetPerCentimetre, true},
    {LengthUnit::Metre, "m", "meters", "Meters", kFeetPerMetre, true},
    {LengthUnit::Inch, "in", "inches", "Inches", kFeetPerInch, false},
    {LengthUnit::Foot, "ft", "feet", "Feet", kFeetPerFoot, false},
    {LengthUnit::Yard, "yd", "yards", "Yards", kFeetPerYard, false},
}};

/// Shown for a stored factor that matches none of the six units (only a
/// damaged preference file can hold one): values are still converted with the
/// stored factor, so the label names no unit it does not use.
inline constexpr std::string_view kUnknownUnitName = "units";

/// The working-unit preferences that conversions and labels depend on.
struct WorkingUnits {
    float lengthUnitFactor = kFeetPerMetre; ///< feet per working length unit
    std::int32_t englishForceUnits = 0;     ///< 1: lbf, lb, lb-ft^2; 0: N, kg, kg-m^2
    std::int32_t rightHandedAxes = 0;       ///< coordinate system, see coordinate_system.h
};

/// The first table row whose factor equals `lengthUnitFactor` under the
/// tolerant comparison, or nullptr when none does.
const LengthUnitInfo* recogniseLengthUnit(float lengthUnitFactor);

/// Short name of the length unit ("mm", ..., "yd"), or kUnknownUnitName.
std::string_view unitShortName(float lengthUnitFactor);
/// Long name of the length unit ("millimeters", ..., "yards"), or kUnknownUnitName.
std::string_view unitLongName(float lengthUnitFactor);
/// True when the factor is recognised as millimetres, centimetres or metres.
bool isMetricLength(float lengthUnitFactor);

} // namespace kv::app
