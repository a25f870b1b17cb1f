#include "app/settings/units_dxf.h"

#include "app/settings/coordinate_system.h"

namespace kv::app {

geom::DxfOutputUnits dxfOutputUnits(const WorkingUnits& units) {
    return {static_cast<double>(units.lengthUnitFactor), coordinateSystemOf(units.rightHandedAxes)};
}

} // namespace kv::app
