#pragma once
/// Simulation > Follow Path... without widgets: the file it asks for, the
/// reading of the chosen path in the working units, and the line the camera
/// view draws along it.

#include "app/follow/follow_path.h"
#include "common/ports/files.h"
#include "common/vecmath.h"

#include <filesystem>
#include <string>
#include <vector>

namespace kv::app {

/// The open dialog's request: "Follow Path:", CSV and DXF files.
FileRequest followPathRequest();

/// Reads `file` as the command does: CSV in the working length unit of
/// `lengthUnitFactor`, DXF through the default import transform. False with
/// a message for the user in `error`.
bool readPathToFollow(const std::filesystem::path& file, float lengthUnitFactor, FollowPath& path,
                      std::string& error);

/// Height (m) a path without heights is drawn at above the ground plane, so
/// that the line shows over the grid.
inline constexpr float kGroundPathLift = 0.05f;

/// The path as the camera view draws it: one vertex a point, in scene axes
/// (north, east, down) and metres.
std::vector<Vec3> pathLineOf(const FollowPath& path);

} // namespace kv::app
