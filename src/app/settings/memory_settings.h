#pragma once
/// The three memory settings that size every large buffer (object slots,
/// record frames, terrain grid), the estimate of the memory they need, and the
/// limits other operations derive from them.

#include "app/settings/preferences.h"

#include <cstdint>
#include <string>

namespace kv::app {

struct MemorySettings {
    std::int32_t objectSlots = 7;     ///< object table slots; two are reserved
    std::int32_t recordFrames = 2002; ///< frames each record buffer holds; two are reserved
    std::int32_t terrainGrid = 400;   ///< terrain height grid cells per side

    friend bool operator==(const MemorySettings&, const MemorySettings&) = default;
};

/// Factory settings, also the fallback when the chosen ones cannot be had.
inline constexpr MemorySettings kFactoryMemory{7, 2002, 400};
/// Smallest settings, held while the Memory command re-allocates.
inline constexpr MemorySettings kMinimalMemory{2, 2, 1};

inline constexpr std::int32_t kMinObjectSlots = 2;
inline constexpr std::int32_t kMaxObjectSlots = 52;
inline constexpr std::int32_t kMinRecordFrames = 2;
inline constexpr std::int32_t kMaxRecordFrames = 18002;
inline constexpr std::int32_t kMinTerrainGrid = 1;
inline constexpr std::int32_t kMaxTerrainGrid = 5000;

/// Below this much physical memory (bytes) the program does not start.
inline constexpr std::int64_t kMinimumPhysicalMemory = 12000001;
/// Physical memory (bytes) left to the rest of the machine.
inline constexpr std::int64_t kMemoryAllowance = 2000000;

/// True when every setting lies within what the dialog or the minimal
/// settings can produce.
bool memorySettingsInRange(const MemorySettings& s);

MemorySettings memorySettingsOf(const Preferences& p);
void setMemorySettings(Preferences& p, const MemorySettings& s);

/// Bytes the settings need: frames x 792 (record buffers) + slots x (frames x
/// 264 + 11948) (object table and stored motion) + slots x 268 (display) +
/// slots x 120008 (geometry and collision) + grid x (grid + 2) x 8 (terrain).
std::int64_t memoryAssigned(const MemorySettings& s);
/// Bytes the settings may use on a machine with `totalPhysical` bytes.
std::int64_t memoryAvailable(std::int64_t totalPhysical);

/// "%d Mbytes" with bytes x 0.000001 + 0.5, truncated.
std::string megabytesText(std::int64_t bytes);
/// "%d objects" with slots - 2.
std::string objectsText(const MemorySettings& s);
/// "%d minutes" with (frames - 2) x frame period (s) / 60, truncated.
std::string durationText(const MemorySettings& s, float framePeriod);
/// "%d x %d" with the grid twice.
std::string resolutionText(const MemorySettings& s);
/// "" when the settings fit, else the refusal the Memory dialog shows.
std::string checkAssignment(const MemorySettings& s, std::int64_t available);

/// Objects a project may hold, the simulated object included.
inline int maxProjectObjects(const MemorySettings& s) {
    return s.objectSlots - 2;
}
/// Frames one run records at most.
inline int maxRecordedFrames(const MemorySettings& s) {
    return s.recordFrames - 2;
}
/// Add Dynamic Object is possible with `objectsInUse` objects.
inline bool canAddDynamicObject(int objectsInUse, const MemorySettings& s) {
    return objectsInUse < s.objectSlots - 2 && s.recordFrames > 2;
}
/// Room for an interactive object (the caller also checks that none exists yet).
inline bool canAddInteractiveObject(int objectsInUse, const MemorySettings& s) {
    return objectsInUse < s.objectSlots - 2;
}

} // namespace kv::app
