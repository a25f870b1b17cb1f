#include "app/dialogs/grid_form.h"

#include "app/settings/units_convert.h"

#include <algorithm>
#include <cmath>

namespace kv::app {

double terrainResolutionPercent(std::int32_t step) {
    return 100.0 - (step - 1) * 2.0;
}

std::int32_t terrainResolutionStep(double percent) {
    const double step = 1.0 + std::trunc((100.0 - percent) / 2.0);
    return static_cast<std::int32_t>(std::clamp(step, static_cast<double>(kFinestTerrainStep),
                                                static_cast<double>(kCoarsestTerrainStep)));
}

GridForm gridForm(const Preferences& p) {
    GridForm form;
    form.gridOn = p.gridOn != 0;
    form.centringOn = p.gridCentering != 0;
    form.spacing = toDisplayGrid(p.gridSpacing, p.lengthUnitFactor);
    form.size = toDisplayGrid(p.gridSize, p.lengthUnitFactor);
    form.resolution = terrainResolutionPercent(p.terrainResolutionStep);
    return form;
}

GridChange applyGridForm(const GridForm& form, Preferences& p) {
    const float spacing = std::max(
        fromDisplayGrid(static_cast<float>(form.spacing), p.lengthUnitFactor), kMinGridSpacing);
    const float size =
        std::max(fromDisplayGrid(static_cast<float>(form.size), p.lengthUnitFactor), 0.0f);
    const std::int32_t step = terrainResolutionStep(form.resolution);
    GridChange change;
    change.gridChanged = spacing != p.gridSpacing || size != p.gridSize;
    change.resolutionChanged = step != p.terrainResolutionStep;
    p.gridOn = form.gridOn ? 1 : 0;
    p.gridCentering = form.centringOn ? 1 : 0;
    p.gridSpacing = spacing;
    p.gridSize = size;
    p.terrainResolutionStep = step;
    return change;
}

} // namespace kv::app
