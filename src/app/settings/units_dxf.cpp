#include "app/settings/units_dxf.h"

namespace kv::app {

geom::DxfOutputUnits dxfOutputUnits(const WorkingUnits& units) {
    return {static_cast<double>(units.lengthUnitFactor), units.rightHandedAxes != 0};
}

} // namespace kv::app
