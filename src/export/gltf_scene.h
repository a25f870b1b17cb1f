#pragma once
/// The whole scene of a take in one binary glTF file: the terrain, each
/// scenery set, every object with its recorded motion, and the camera that
/// framed the take, in metres and the axes of the single-object export
/// (x = -east, y = up, z = north). One animation holds every channel, keyed
/// at each motion's own frame times.

#include "common/ports/messages.h"
#include "common/ports/progress.h"
#include "export/gltf_object.h"
#include "model/motion_frame.h"

#include <array>
#include <filesystem>
#include <functional>
#include <span>
#include <string>
#include <vector>

namespace kv::exp {

/// Outcome of pulling one triangle from a stream of triangles.
enum class TriangleStep { kTriangle, kEnd, kError };

/// Gives the next triangle: corners 1, 2, 3 as north, east, down (metres).
using TriangleFeed = std::function<TriangleStep(std::array<double, 9>&)>;

/// A terrain or scenery set: a stream of triangles in one colour.
struct GltfSurface {
    std::string name;                                    ///< node, mesh and material name
    std::array<float, 4> colour{0.6f, 0.6f, 0.6f, 1.0f}; ///< linear RGBA
    std::int64_t triangleCount = 0; ///< triangles the feed gives (for progress and memory)
    TriangleFeed feed;
    /// Where neighbouring faces meeting at less than this angle (deg) share a
    /// smooth normal; at or above it each face keeps its own. Negative: flat.
    double smoothAngleDeg = -1.0;
};

/// The recorded camera: its frames (position north, east, down in metres,
/// roll, pitch and yaw in degrees) and the lens the camera view drew with.
struct GltfCamera {
    std::span<const model::MotionFrame> frames;
    double yfovRad = 0.0;     ///< vertical field of view
    double aspectRatio = 1.0; ///< width / height of the view
    double znear = 0.5;       ///< metres
    double zfar = 30000.0;    ///< metres
};

struct GltfScene {
    std::string title; ///< scene and animation name
    std::string generator = "Kestrovane";
    bool hasTerrain = false;
    GltfSurface terrain;
    std::vector<GltfSurface> scenery;
    std::vector<GltfObject> objects;
    bool hasCamera = false;
    GltfCamera camera;
};

/// Name of the terrain node.
inline constexpr const char* kTerrainNodeName = "Terrain";
/// Name of the camera node.
inline constexpr const char* kCameraNodeName = "Camera";
/// "Scenery <n>", n counting from 1.
std::string sceneryNodeName(int index);

/// The rotation of the camera node for a camera whose view looks along its
/// body's forward axis: glTF's camera looks along its node's -Z with +Y up.
GltfPose cameraNodePose(const model::MotionFrame& frame);

/// Normals of a triangle soup (positions in glTF's axes, three corners per
/// triangle): each corner gets the mean of the unit normals of the faces
/// that share its position and meet its own face at less than
/// `smoothAngleDeg`; a face meeting none keeps its flat normal. Faces without
/// area are dropped first (from `positions` too).
std::vector<GltfVec3> creasedNormals(std::vector<GltfVec3>& positions, double smoothAngleDeg);

/// Writes `scene` to `outputFile` (.glb), reporting progress on `progress`
/// under `progressTitle`. The file is written whole beside its target and
/// renamed into place: on a failure of a feed, an abort or a write error the
/// previous file stays and, except for an abort, "\"<name>\" could not be
/// saved." is shown.
bool exportGltfScene(const GltfScene& scene, const std::filesystem::path& outputFile,
                     ProgressPort& progress, MessagePort& messages);

/// Title of the progress display while a scene is written.
inline constexpr const char* kSceneProgressTitle = "Writing glTF Scene:";

} // namespace kv::exp
