#include "app/settings/memory_settings.h"

namespace kv::app {

bool memorySettingsInRange(const MemorySettings& s) {
    return s.objectSlots >= kMinObjectSlots && s.objectSlots <= kMaxObjectSlots &&
           s.recordFrames >= kMinRecordFrames && s.recordFrames <= kMaxRecordFrames &&
           s.terrainGrid >= kMinTerrainGrid && s.terrainGrid <= kMaxTerrainGrid;
}

MemorySettings memorySettingsOf(const Preferences& p) {
    return {p.objectSlots, p.recordFrames, p.terrainGrid};
}

void setMemorySettings(Preferences& p, const MemorySettings& s) {
    p.objectSlots = s.objectSlots;
    p.recordFrames = s.recordFrames;
    p.terrainGrid = s.terrainGrid;
}

std::int64_t memoryAssigned(const MemorySettings& s) {
    const std::int64_t f = s.recordFrames;
    const std::int64_t n = s.objectSlots;
    const std::int64_t g = s.terrainGrid;
    return f * 792 + n * (f * 264 + 11948) + n * 268 + n * 120008 + g * (g + 2) * 8;
}

std::int64_t memoryAvailable(std::int64_t totalPhysical) {
    return totalPhysical - kMemoryAllowance;
}

std::string megabytesText(std::int64_t bytes) {
    const auto mb = static_cast<std::int64_t>(static_cast<double>(bytes) * 0.000001 + 0.5);
    return std::to_string(mb) + " Mbytes";
}

std::string objectsText(const MemorySettings& s) {
    return std::to_string(s.objectSlots - 2) + " objects";
}

std::string durationText(const MemorySettings& s, float framePeriod) {
    const float minutes = static_cast<float>(s.recordFrames - 2) * framePeriod / 60.0f;
    return std::to_string(static_cast<int>(minutes)) + " minutes";
}

std::string resolutionText(const MemorySettings& s) {
    return std::to_string(s.terrainGrid) + " x " + std::to_string(s.terrainGrid);
}

std::string checkAssignment(const MemorySettings& s, std::int64_t available) {
    if (memoryAssigned(s) >= available) {
        return "Please ensure that the amount of memory assigned is less than the available "
               "memory.";
    }
    return {};
}

} // namespace kv::app
