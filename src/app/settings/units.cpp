#include "app/settings/units.h"

#include "common/vecmath.h"

namespace kv::app {

const LengthUnitInfo* recogniseLengthUnit(float lengthUnitFactor) {
    for (const LengthUnitInfo& info : kLengthUnits) {
        if (CompareTol(lengthUnitFactor, info.feetPerUnit) == 0) {
            return &info;
        }
    }
    return nullptr;
}

std::string_view unitShortName(float lengthUnitFactor) {
    const LengthUnitInfo* info = recogniseLengthUnit(lengthUnitFactor);
    return info != nullptr ? info->shortName : kUnknownUnitName;
}

std::string_view unitLongName(float lengthUnitFactor) {
    const LengthUnitInfo* info = recogniseLengthUnit(lengthUnitFactor);
    return info != nullptr ? info->longName : kUnknownUnitName;
}

bool isMetricLength(float lengthUnitFactor) {
    const LengthUnitInfo* info = recogniseLengthUnit(lengthUnitFactor);
    return info != nullptr && info->metric;
}

} // namespace kv::app
