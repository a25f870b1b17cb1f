#pragma once
/// Working length units and the fixed conversion constants between the
/// internal units (ft, slug, lbf, s, rad) and what the user reads and types.
///
/// Every constant is single precision and its value is part of the behaviour:
/// preference files store the length factors bit for bit, and dialogs show
/// numbers computed with exactly these floats.

#include <array>
#include <bit>
#include <cstdint>
#include <string_view>

namespace kv::app {

/// Metres per foot (not 0.3048): the inverse of kFeetPerMetre used throughout.
inline constexpr float kMetresPerFoot = 0.3048037f;
/// Feet per metre.
inline constexpr float kFeetPerMetre = 3.2808f;
/// Newtons per pound-force.
inline constexpr float kNewtonsPerPound = 4.4482217f;
/// Pound-force per newton.
inline constexpr float kPoundsPerNewton = 0.22480895f;
/// Slug per kilogram.
inline constexpr float kSlugPerKilogram = 0.06852178f;
/// Slug-ft^2 per kg-m^2.
inline constexpr float kSlugFt2PerKgM2 = 0.7375622f;
/// Slug per pound (mass) and slug-ft^2 per lb-ft^2: 1 / 32.17.
inline constexpr float kSlugPerPound = 0.031084863f;
/// Standard gravity (ft/s^2).
inline constexpr float kStandardGravity = 32.17f;
/// mph per ft/s.
inline constexpr float kMphPerFps = 0.6818179f;
/// km/h per ft/s.
inline constexpr float kKphPerFps = 1.0972934f;
/// ft/s per mph.
inline constexpr float kFpsPerMph = 1.4666673f;
/// ft/s per km/h.
inline constexpr float kFpsPerKph = 0.9113333f;
/// Degrees per radian.
inline constexpr float kDegPerRad = 57.29578f;
/// Radians per degree.
inline constexpr float kRadPerDeg = 0.017453292f;

static_assert(std::bit_cast<std::uint32_t>(kSlugPerKilogram) == 0x3D8C5526u);
static_assert(std::bit_cast<std::uint32_t>(kSlugFt2PerKgM2) == 0x3F3CD0E0u);

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

/// Feet per working unit of each length unit (the stored preference values).
inline constexpr float kFeetPerMillimetre = 0.0032808f;
inline constexpr float kFeetPerCentimetre = 0.032808f;
inline constexpr float kFeetPerMetreUnit = 3.2808f;
inline constexpr float kFeetPerInch = 0.08333232f;
inline constexpr float kFeetPerFoot = 1.0f;
inline constexpr float kFeetPerYard = 2.9999635f;

static_assert(std::bit_cast<std::uint32_t>(kFeetPerMillimetre) == 0x3B5702B1u);
static_assert(std::bit_cast<std::uint32_t>(kFeetPerCentimetre) == 0x3D0661AEu);
static_assert(std::bit_cast<std::uint32_t>(kFeetPerMetreUnit) == 0x4051F8A1u);
static_assert(std::bit_cast<std::uint32_t>(kFeetPerInch) == 0x3DAAAA23u);
static_assert(std::bit_cast<std::uint32_t>(kFeetPerFoot) == 0x3F800000u);
static_assert(std::bit_cast<std::uint32_t>(kFeetPerYard) == 0x403FFF67u);

inline constexpr std::array<LengthUnitInfo, 6> kLengthUnits{{
    {LengthUnit::Millimetre, "mm", "millimeters", "Millimeters", kFeetPerMillimetre, true},
    {LengthUnit::Centimetre, "cm", "centimeters", "Centimeters", kFeetPerCentimetre, true},
    {LengthUnit::Metre, "m", "meters", "Meters", kFeetPerMetreUnit, true},
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
    float lengthUnitFactor = kFeetPerMetreUnit; ///< feet per working length unit
    std::int32_t englishForceUnits = 0;         ///< 1: lbf, lb, lb-ft^2; 0: N, kg, kg-m^2
    std::int32_t rightHandedAxes = 0;           ///< 1: right-handed ("Down"); 0: left ("Up")
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
