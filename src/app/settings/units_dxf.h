#pragma once
/// The DXF writer's output units from the working-unit preferences.

#include "app/settings/units.h"
#include "geometry/dxf_writer.h"

namespace kv::app {

/// Feet per working unit and handedness as the DXF writer takes them.
geom::DxfOutputUnits dxfOutputUnits(const WorkingUnits& units);

} // namespace kv::app
