#pragma once
/// The project's whole scene as one glTF file: the terrain, the scenery sets,
/// every object with the motion it has, and the recorded camera. Which motion
/// each object and the camera carry is chosen by the caller: the live
/// channels after a run, a take read from a file, or the stored motion of a
/// loaded project.

#include "app/document/document.h"
#include "common/ports/messages.h"
#include "common/ports/progress.h"
#include "model/motion_frame.h"

#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace kv::app {

/// The motion of each object of the scene and of the camera.
struct SceneTakes {
    /// Frames of object slot i (index i); a slot without an entry, or with an
    /// empty one, carries its stored motion, or stands still at its initial
    /// conditions when it has none (the simulated object always does).
    std::vector<std::span<const model::MotionFrame>> objects;
    /// The camera's recorded frames (a camera channel); none: no camera node.
    std::optional<std::span<const model::MotionFrame>> camera;
};

/// The takes of the last run: the simulated object's and the interactive
/// object's live channels, the other objects' stored motion and the camera
/// channel. Channels that recorded nothing are left out.
SceneTakes liveTakes(const Document& document);

/// Whether the last run recorded anything to export.
bool hasLiveTakes(const Document& document);

/// Writes the scene of `document` with `takes` to `outputFile` (.glb), named
/// `title`, with `generator` as the asset's generator. The camera's lens is the camera preferences'
/// (vertical field of view = field of view / view aspect). The file is replaced only when all of it
/// was written; a failure shows "\"<name>\" could not be saved.".
bool exportSceneGltf(Document& document, const SceneTakes& takes,
                     const std::filesystem::path& outputFile, const std::string& title,
                     const std::string& generator, ProgressPort& progress, MessagePort& messages);

} // namespace kv::app
