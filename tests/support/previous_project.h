#pragma once
/// A writer of the previous version's project layout (a 3360-byte state
/// block, previous-version object bodies), for the conversion tests.

#include "app/document/project_convert.h"
#include "app/settings/preferences.h"

#include <cstdint>
#include <vector>

namespace kv::test {

/// One object of a previous-version project.
struct PreviousObject {
    std::int32_t vehicleType = 0;
    std::int32_t color = 0;
    int triangles = 1;
    bool withFrame = false; ///< a stored frame before the end marker
};

/// Writes a previous-version project the way the previous version wrote it.
struct PreviousProjectWriter {
    app::PreviousProjectState state;
    std::size_t preferencesSize = app::kPreferenceRecordSize;
    float gridSpacing = 25.0f; ///< written into a preferences block of the current size (m)
    std::vector<PreviousObject> objects;
    std::vector<int> sceneryTriangles;
    int terrainTriangles = 0;

    std::vector<std::uint8_t> bytes() const;
};

/// A farm: the simulated car "golf" (4 triangles, colour 5), a static barn (2
/// triangles), one scenery set "fence" of 2 triangles and a terrain "hills";
/// gravity 20, sun 45.
PreviousProjectWriter farm();

} // namespace kv::test
