#pragma once
/// Project files (.kvp): the state block, the preferences block, every object
/// with its geometry and stored motion, every scenery stream and the terrain
/// stream, in that order.

#include "app/document/project_state.h"
#include "app/settings/preferences.h"
#include "common/ports/messages.h"
#include "geometry/mesh_store.h"
#include "geometry/scenery.h"
#include "geometry/terrain.h"
#include "model/motion_store.h"
#include "model/object_record.h"

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <span>
#include <string>

namespace kv::app {

/// Size word of the current state block; also the project file's version tag.
inline constexpr std::int32_t kProjectStateTag = 2304;
/// Size word of the previous version's state block.
inline constexpr std::int32_t kPreviousProjectStateTag = 3360;

/// What a project file holds, as the document owns it.
struct ProjectContents {
    ProjectState& state;
    Preferences& preferences;
    std::span<model::ObjectRecord> objects; ///< every slot of the object table
    geom::MeshStore& meshes;
    model::MotionStore& motions;
    geom::SceneryStore& scenery;
    geom::TerrainStore& terrain;
};

enum class ProjectVersion : int {
    kRefused = 0, ///< unusable; the message has been shown
    kCurrent = 1,
    kPrevious = 2, ///< a previous-version project, to be converted (project_convert.h)
};

/// Result of loadProject in the numbering the opening operation uses.
enum class ProjectLoad : int {
    kFailed = 0,
    kLoaded = 1,
    /// Loaded; `message` holds the resolution notice and the terrain must be re-sorted.
    kResolutionChanged = 2,
};

struct ProjectLoadResult {
    ProjectLoad status = ProjectLoad::kFailed;
    std::string message; ///< the resolution notice of kResolutionChanged
};

/// The version test before opening: current, previous (a 3360-byte state
/// block followed by previous-version objects) or refused with its message.
ProjectVersion checkProjectVersion(const std::filesystem::path& file, MessagePort& messages);
/// The same test on a stream positioned at the start of a project.
ProjectVersion checkProjectVersion(std::FILE* in, MessagePort& messages);

/// Writes the whole project. The counts, names, appearance and transforms of
/// the state block are taken from the stores; object 0 is written without
/// frames. The previous file is replaced only by a complete new one.
bool saveProject(const std::filesystem::path& file, const ProjectContents& project,
                 MessagePort& messages);

/// Reads a project into `project`: the state block, the preferences (the
/// memory settings in force are kept), each object into its slot, each
/// scenery stream into its working file and the terrain stream (not sorted).
/// A failure leaves what was read so far; the caller resets the project.
ProjectLoadResult loadProject(const std::filesystem::path& file, const ProjectContents& project,
                              MessagePort& messages);
/// The same reader on a stream positioned at the start of a project.
ProjectLoadResult loadProject(std::FILE* in, const ProjectContents& project, MessagePort& messages);

inline constexpr const char* kProjectOldVersionMessage =
    "The project file cannot be read because it was created by an old version of Kestrovane.";
inline constexpr const char* kProjectTooOldMessage =
    "The project file is more than one version old and cannot be converted to the current "
    "version.";
inline constexpr const char* kProjectDamagedMessage =
    "The project file is damaged and cannot be read.";

/// "The project file cannot be loaded because it contains %d objects. ..."
std::string tooManyObjectsMessage(int fileObjects, int slots);
/// "The terrain resolution in the project file is %d by %d and is currently set to %d by %d."
std::string resolutionChangedMessage(int fileResolution, int currentResolution);

} // namespace kv::app
