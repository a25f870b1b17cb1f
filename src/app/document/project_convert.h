#pragma once
/// Projects of the previous version: its 3360-byte state block, the mapping
/// into the current block, and the conversion of a whole file that keeps the
/// original under a backup name.
///
/// Previous layout of the state block (offsets in bytes; int32 and float are
/// little-endian 32-bit words, names NUL-terminated):
///
/// | Offset | Size | Content |
/// |---|---|---|
/// | 0 | 4 | objects taking part in collisions |
/// | 4 | 4 | objects in use |
/// | 8 | 4 | observe flag |
/// | 12 | 4 | 1 when a terrain is present |
/// | 16 | 4 | collision-on flag of the last run |
/// | 20 | 4 | object the camera follows |
/// | 24 | 4 | scenery sets, 0..5 |
/// | 28 | 20 | triangles of each scenery set |
/// | 48 | 4 | terrain triangles |
/// | 52 | 4 | sun angle (deg, float) |
/// | 56 | 4 | gravity (ft/s^2, float) |
/// | 60 | 256 | project name |
/// | 316 | 256 | terrain file base name |
/// | 572 | 1280 | scenery file base names, 256 each |
/// | 1852 | 80 | role of each of 20 objects (the previous object record had none) |
/// | 1932 | 1280 | name of each of 20 objects, 64 each |
/// | 3212 | 148 | reserved, zero |
///
/// The rest of a previous project is laid out as a current one, with
/// previous-version object bodies (record size 12076, frames of 304 bytes).

#include "app/document/project_state.h"
#include "common/ports/messages.h"

#include <array>
#include <cstdint>
#include <filesystem>
#include <span>

namespace kv::app {

inline constexpr std::size_t kPreviousProjectStateSize = 3360;
/// Objects the previous state block names.
inline constexpr int kPreviousProjectObjects = 20;
inline constexpr std::size_t kPreviousObjectNameChars = 64;

/// Field order is the stored order.
struct PreviousProjectState {
    std::int32_t collisionObjects = 1;
    std::int32_t objectCount = 1;
    std::int32_t observeMode = 0;
    std::int32_t terrainPresent = 0;
    std::int32_t collisionOn = 0;
    std::int32_t cameraFollows = 0;
    std::int32_t sceneryCount = 0;
    std::array<std::int32_t, kProjectSceneryMax> sceneryTriangles{};
    std::int32_t terrainTriangles = 0;
    float sunAngle = 100.0f;          ///< deg
    float gravity = kStandardGravity; ///< ft/s^2
    ProjectName projectName{};
    ProjectName terrainName{};
    std::array<ProjectName, kProjectSceneryMax> sceneryNames{};
    std::array<std::int32_t, kPreviousProjectObjects> objectRoles{};
    std::array<std::array<char, kPreviousObjectNameChars>, kPreviousProjectObjects> objectNames{};
};

using PreviousProjectStateImage = std::array<std::uint8_t, kPreviousProjectStateSize>;

PreviousProjectStateImage encodePreviousProjectState(const PreviousProjectState& s);
/// Decodes a stored block; every name is forced to end in a NUL.
PreviousProjectState
decodePreviousProjectState(std::span<const std::uint8_t, kPreviousProjectStateSize> in);

/// The current block for a previous one: counts, flags, names, sun angle and
/// gravity carried over; environment, scenery appearance and transforms and
/// the camera as in a new project; no terrain (it cannot be carried over).
ProjectState mapPreviousProjectState(const PreviousProjectState& previous);

/// What a conversion did.
struct ProjectConversion {
    bool converted = false;      ///< `newFile` holds the current version
    bool terrainDropped = false; ///< the previous project had a terrain
};

/// Reads the previous-version project `oldFile` and writes the converted
/// project `newFile`: the mapped state block, the preferences block (the
/// factory values when the file's is of another size), every object converted
/// with its name and role from the previous block, and the scenery streams
/// copied. A failure shows its message and writes nothing.
ProjectConversion convertProject(const std::filesystem::path& oldFile,
                                 const std::filesystem::path& newFile, MessagePort& messages);

/// The upgrade check of a project file before it is opened: a current file is
/// left as it is; a previous-version one is moved to its backup name (the
/// file name cut at its first "." plus ".old", never one that exists) and
/// converted under its own name, with the terrain message when its terrain
/// had to be dropped. Returns true when `file` is now of the current version;
/// a refusal or a failed conversion leaves the original where it was.
bool upgradeProjectFile(const std::filesystem::path& file, MessagePort& messages);

inline constexpr const char* kTerrainNotConvertedMessage =
    "Unfortunately, due to new features added to the current version, the terrain cannot be "
    "updated. Please re-import your terrain to the project.";

} // namespace kv::app
