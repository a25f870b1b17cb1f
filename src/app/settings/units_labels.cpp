#include "app/settings/units_labels.h"

#include "app/settings/coordinate_system.h"

#include <cstdio>

namespace kv::app {

namespace {

std::string withUnit(std::string_view caption, std::string_view unit) {
    std::string text;
    text.reserve(caption.size() + unit.size() + 3);
    text.append(caption).append(" (").append(unit).append(")");
    return text;
}

std::array<std::string, 3> axisLabels(std::int32_t rightHandedAxes, std::string_view unit) {
    return {withUnit("Forward", unit), withUnit("Right", unit),
            withUnit(verticalCaption(rightHandedAxes), unit)};
}

} // namespace

std::string formatNumber(const char* format, double value) {
    char buffer[64];
    const int n = std::snprintf(buffer, sizeof buffer, format, value);
    if (n < 0) {
        return {};
    }
    if (static_cast<std::size_t>(n) < sizeof buffer) {
        return std::string(buffer, static_cast<std::size_t>(n));
    }
    // Huge values in fixed notation exceed the small buffer.
    std::string text(static_cast<std::size_t>(n) + 1, '\0');
    std::snprintf(text.data(), text.size(), format, value);
    text.resize(static_cast<std::size_t>(n));
    return text;
}

std::string formatLength(double value) {
    return formatNumber(kFormatLength, value);
}

std::string lengthLabel(std::string_view caption, float lengthUnitFactor) {
    return withUnit(caption, unitShortName(lengthUnitFactor));
}

std::string areaLabel(std::string_view caption, float lengthUnitFactor) {
    std::string unit = "sq. ";
    unit.append(unitShortName(lengthUnitFactor));
    return withUnit(caption, unit);
}

std::string_view verticalCaption(std::int32_t rightHandedAxes) {
    return showsUp(rightHandedAxes) ? "Up" : "Down";
}

std::array<std::string, 3> positionLabels(const WorkingUnits& units) {
    return axisLabels(units.rightHandedAxes, unitShortName(units.lengthUnitFactor));
}

std::array<std::string, 3> velocityLabels(const WorkingUnits& units) {
    std::string unit(unitShortName(units.lengthUnitFactor));
    unit.append("/s");
    return axisLabels(units.rightHandedAxes, unit);
}

std::string_view windSpeedLabel(float lengthUnitFactor) {
    return isMetricLength(lengthUnitFactor) ? "Speed (KPH)" : "Speed (MPH)";
}

std::array<std::string_view, 4> massLabels(std::int32_t englishForceUnits) {
    if (englishForceUnits != 0) {
        return {"Mass (lb)", "Roll Inertia (lb-ft2)", "Pitch Inertia (lb-ft2)",
                "Yaw Inertia (lb-ft2)"};
    }
    return {"Mass (kg)", "Roll Inertia (kg-m2)", "Pitch Inertia (kg-m2)", "Yaw Inertia (kg-m2)"};
}

std::string_view forceUnitName(std::int32_t englishForceUnits) {
    return englishForceUnits != 0 ? "lbf" : "N";
}

std::string momentUnitName(const WorkingUnits& units) {
    std::string text(forceUnitName(units.englishForceUnits));
    text.append(" ").append(unitShortName(units.lengthUnitFactor));
    return text;
}

std::array<std::string, 3> forceLabels(const WorkingUnits& units) {
    return axisLabels(units.rightHandedAxes, forceUnitName(units.englishForceUnits));
}

std::array<std::string, 3> momentLabels(const WorkingUnits& units) {
    const std::string unit = momentUnitName(units);
    return {withUnit("Roll", unit), withUnit("Pitch", unit), withUnit("Yaw", unit)};
}

} // namespace kv::app
