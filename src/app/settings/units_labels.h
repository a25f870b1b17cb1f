#pragma once
/// Field labels built from the working units, and the number formats dialogs
/// use. Each dialog fills its own labels when it opens.

#include "app/settings/units.h"

#include <array>
#include <string>
#include <string_view>

namespace kv::app {

/// Lengths, positions, masses and coefficients.
inline constexpr const char* kFormatLength = "%0.4f";
/// Percentages and slider-linked values.
inline constexpr const char* kFormatWhole = "%0.0f";
/// Engine power and seconds.
inline constexpr const char* kFormatTenths = "%0.1f";
/// Whole minutes.
inline constexpr const char* kFormatMinutes = "%1.0f";

/// `value` printed with one of the formats above.
std::string formatNumber(const char* format, double value);
/// `value` printed with "%0.4f".
std::string formatLength(double value);

/// "<caption> (<short unit>)", e.g. "Radius (m)", "Span (ft)", "Spacing (mm)".
std::string lengthLabel(std::string_view caption, float lengthUnitFactor);
/// "<caption> (sq. <short unit>)", e.g. "Area (sq. m)".
std::string areaLabel(std::string_view caption, float lengthUnitFactor);

/// "Down" for right-handed axes, else "Up".
std::string_view verticalCaption(std::int32_t rightHandedAxes);
/// "Forward (%s)", "Right (%s)", "Down (%s)" or "Up (%s)" for positions.
std::array<std::string, 3> positionLabels(const WorkingUnits& units);
/// "Forward (%s/s)", "Right (%s/s)", "Down (%s/s)" or "Up (%s/s)".
std::array<std::string, 3> velocityLabels(const WorkingUnits& units);

/// "Speed (KPH)" for a metric length unit, else "Speed (MPH)".
std::string_view windSpeedLabel(float lengthUnitFactor);

/// "Mass (lb)", "Roll Inertia (lb-ft2)", "Pitch Inertia (lb-ft2)",
/// "Yaw Inertia (lb-ft2)" in English units, else the kg and kg-m2 labels.
std::array<std::string_view, 4> massLabels(std::int32_t englishForceUnits);

/// "lbf" (English) or "N".
std::string_view forceUnitName(std::int32_t englishForceUnits);
/// Force name, one space, short length name: "N m", "lbf ft".
std::string momentUnitName(const WorkingUnits& units);
/// "Forward (N)", "Right (N)", "Down (N)" or "Up (N)" with the force unit.
std::array<std::string, 3> forceLabels(const WorkingUnits& units);
/// "Roll (%s)", "Pitch (%s)", "Yaw (%s)" with the moment unit.
std::array<std::string, 3> momentLabels(const WorkingUnits& units);

} // namespace kv::app
