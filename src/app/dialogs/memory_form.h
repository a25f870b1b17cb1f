#pragma once
/// The "Memory and Accuracy" dialog: the three memory settings on their
/// sliders, the accuracy (physics step), the texts refreshed on every slider
/// move and OK's refusal when the estimate does not fit.

#include "app/dialogs/dialog_entry.h"
#include "app/settings/memory_settings.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>

namespace kv::app {

/// One accuracy choice: its button text and physics step (s).
struct AccuracyChoice {
    const char* text;
    float step;
};
inline constexpr std::array<AccuracyChoice, 3> kAccuracyChoices{{{"Good (60 Hz)", 1.0f / 60.0f},
                                                                 {"Better (120 Hz)", 1.0f / 120.0f},
                                                                 {"Best (240 Hz)", 1.0f / 240.0f}}};
inline constexpr int kFactoryAccuracy = 1;

inline constexpr SliderRange kObjectSlotsSlider{kMinObjectSlots, kMaxObjectSlots};
inline constexpr SliderRange kRecordFramesSlider{kMinRecordFrames, kMaxRecordFrames};
/// Terrain resolution slider: grid = position x 100.
inline constexpr SliderRange kTerrainGridSlider{1, 50};
inline constexpr std::int32_t kTerrainGridPerPosition = 100;

inline constexpr const char* kAccuracyNote =
    "Note: Increasing the accuracy may slow down the simulation.";

struct MemoryForm {
    MemorySettings settings;
    /// Index into kAccuracyChoices, or -1 when the stored step matches none
    /// (OK then keeps the stored step).
    int accuracy = kFactoryAccuracy;
};

/// The form for `settings` and the physics step `simTimeStep` (tolerant match).
MemoryForm memoryForm(const MemorySettings& settings, float simTimeStep);
/// "Reset": 7 slots, 2002 frames, grid 400, "Better (120 Hz)".
MemoryForm memoryFormReset();

/// Terrain slider position of a grid size (within the slider's range).
int terrainGridPosition(std::int32_t grid);

/// The texts beside the sliders and the two estimates.
struct MemoryTexts {
    std::string objects;   ///< "%d objects"
    std::string duration;  ///< "%d minutes"
    std::string terrain;   ///< "%d x %d"
    std::string assigned;  ///< "%d Mbytes"
    std::string available; ///< "%d Mbytes"; "unknown" when the machine does not tell
};
/// `framePeriod` is the camera update period (s) that turns frames into minutes.
MemoryTexts memoryTexts(const MemoryForm& form, float framePeriod,
                        std::optional<std::int64_t> totalPhysical);

/// OK: the refusal to show ("" when the settings fit). An unknown physical
/// memory refuses nothing.
std::string memoryFormRefusal(const MemoryForm& form, std::optional<std::int64_t> totalPhysical);

} // namespace kv::app
