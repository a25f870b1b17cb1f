#pragma once
/// Writer of the system's DXF dialect: 3DFACE entities on layer "Kestrovane".

#include "common/unit_constants.h"
#include "geometry/dxf_axes.h"

#include <array>
#include <cstdio>

namespace kv::geom {

/// Output units and axes of a DXF export, from the preferences.
struct DxfOutputUnits {
    double feetPerUnit = kFeetPerMetreD; ///< feet per working unit (3.2808 for metres)
    DxfAxes axes = DxfAxes::RightHand;   ///< coordinate system preference
};

/// Each returns false when the file reported a write error.
bool writeDxfHeader(std::FILE* file, const DxfOutputUnits& units);
/// Writes one face: four corners (forward, right, down; metres); a triangle
/// repeats its third corner as the fourth.
bool writeDxfFace(std::FILE* file, const std::array<double, 12>& corners,
                  const DxfOutputUnits& units);
bool writeDxfTrailer(std::FILE* file);

} // namespace kv::geom
