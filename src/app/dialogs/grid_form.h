#pragma once
/// The "Grid" dialog's values: the ground grid's switches, spacing and size
/// in working units, and the terrain display resolution in percent.

#include "app/dialogs/dialog_entry.h"
#include "app/settings/preferences.h"

#include <cstdint>

namespace kv::app {

struct GridForm {
    bool gridOn = true;        ///< "Grid On"
    bool centringOn = true;    ///< "Centering On"
    double spacing = 0.0;      ///< "Spacing (%s)", working length units
    double size = 0.0;         ///< "Size (%s)", working length units
    double resolution = 100.0; ///< "Terrain Resolution (%)"
};

inline constexpr SliderRange kTerrainResolutionSlider{0, 100};
/// Smallest stored grid spacing (m): closer lines would fill the view.
inline constexpr float kMinGridSpacing = 0.1f;
inline constexpr std::int32_t kFinestTerrainStep = 1;
inline constexpr std::int32_t kCoarsestTerrainStep = 51;

/// Percent shown for terrain resolution step r: 100 - (r - 1) x 2.
double terrainResolutionPercent(std::int32_t step);
/// Step stored for a percent: 1 + trunc((100 - percent) / 2), within 1..51.
std::int32_t terrainResolutionStep(double percent);

GridForm gridForm(const Preferences& prefs);

/// What OK changed, for the follow-ups of the command.
struct GridChange {
    bool gridChanged = false;       ///< spacing or size differ
    bool resolutionChanged = false; ///< terrain resolution step differs
};

/// OK: spacing and size to metres (spacing at least 0.1 m, size at least 0),
/// the resolution step, the two switches.
GridChange applyGridForm(const GridForm& form, Preferences& prefs);

} // namespace kv::app
