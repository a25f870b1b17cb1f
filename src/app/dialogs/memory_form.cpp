#include "app/dialogs/memory_form.h"

#include "common/vecmath.h"

#include <algorithm>

namespace kv::app {

MemoryForm memoryForm(const MemorySettings& settings, float simTimeStep) {
    MemoryForm form;
    form.settings = settings;
    form.accuracy = -1;
    for (std::size_t i = 0; i < kAccuracyChoices.size(); ++i) {
        if (CompareTol(simTimeStep, kAccuracyChoices[i].step) == 0) {
            form.accuracy = static_cast<int>(i);
            break;
        }
    }
    return form;
}

MemoryForm memoryFormReset() {
    return {kFactoryMemory, kFactoryAccuracy};
}

int terrainGridPosition(std::int32_t grid) {
    return std::clamp(grid / kTerrainGridPerPosition, kTerrainGridSlider.minimum,
                      kTerrainGridSlider.maximum);
}

MemoryTexts memoryTexts(const MemoryForm& form, float framePeriod,
                        std::optional<std::int64_t> totalPhysical) {
    MemoryTexts t;
    t.objects = objectsText(form.settings);
    t.duration = durationText(form.settings, framePeriod);
    t.terrain = resolutionText(form.settings);
    t.assigned = megabytesText(memoryAssigned(form.settings));
    t.available = totalPhysical ? megabytesText(memoryAvailable(*totalPhysical)) : "unknown";
    return t;
}

std::string memoryFormRefusal(const MemoryForm& form, std::optional<std::int64_t> totalPhysical) {
    if (!totalPhysical)
        return {};
    return checkAssignment(form.settings, memoryAvailable(*totalPhysical));
}

} // namespace kv::app
