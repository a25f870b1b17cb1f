#pragma once
/// The coordinate-system preference: how `rightHandedAxes` is stored and what
/// each value means for labels, exports and DXF files.
///
/// Stored values: 0 left hand, 1 right hand, 2 z up. Files written before z up
/// existed hold only 0 and 1 and keep their meaning; an earlier program reads
/// a 2 as right hand (it tests for non-zero), whose DXF axes differ from z up
/// only by a turn, and any other value is read here as right hand the same way.

#include "geometry/dxf_axes.h"

#include <cstdint>

namespace kv::app {

inline constexpr std::int32_t kStoredLeftHand = 0;
inline constexpr std::int32_t kStoredRightHand = 1;
inline constexpr std::int32_t kStoredZUp = 2;

/// The coordinate system of a stored `rightHandedAxes`.
geom::DxfAxes coordinateSystemOf(std::int32_t rightHandedAxes);

/// The stored `rightHandedAxes` of a coordinate system.
std::int32_t storedCoordinateSystem(geom::DxfAxes axes);

/// True when dialogs show the vertical as "Up" (values negated): the left-hand
/// and z-up systems; the right-hand system shows "Down".
bool showsUp(std::int32_t rightHandedAxes);

} // namespace kv::app
