#include "app/document/scene_gltf.h"

#include "app/camera/camera_view_matrix.h"
#include "app/render/render_light.h"
#include "common/unit_constants.h"
#include "export/gltf_pose.h"
#include "export/gltf_scene.h"
#include "geometry/working_files.h"
#include "model/object_model.h"
#include "simulation/record_channels.h"

#include <memory>
#include <numbers>
#include <set>
#include <utility>

namespace kv::app {
namespace {

/// Angle below which neighbouring terrain faces share a smooth normal (deg).
constexpr double kTerrainSmoothAngleDeg = 30.0;

std::array<float, 4> baseColour(int colour, int transparency) {
    return objectMaterial(colour, transparency).diffuse;
}

exp::GltfMesh meshOf(const geom::MeshStore& meshes, int slot) {
    exp::GltfMesh out;
    const geom::SlotMesh& mesh = meshes.mesh(slot);
    const int count = meshes.triangleCount(slot);
    for (int i = 0; i < count; ++i) {
        std::array<exp::GltfVec3, 3> corner{};
        for (std::size_t k = 0; k < 3; ++k) {
            const Vec3& v = mesh.vertices[static_cast<std::size_t>(
                mesh.triangles[static_cast<std::size_t>(i)][k])];
            const auto g = exp::toGltfAxes(v[0], v[1], v[2]);
            corner[k] = {static_cast<float>(g[0]), static_cast<float>(g[1]),
                         static_cast<float>(g[2])};
        }
        out.addTriangle(corner[0], corner[1], corner[2]);
    }
    return out;
}

/// The frame of an object standing at its initial conditions.
model::MotionFrame stillPose(const model::ObjectRecord& record) {
    model::MotionFrame f{};
    for (std::size_t i = 0; i < 3; ++i) {
        f[model::kFrameNorth + i] = record.initial.position[i] * kMetresPerFoot;
        f[model::kFrameRoll + i] = record.initial.attitude[i];
    }
    return f;
}

/// `name`, or `name` with " 2", " 3", ... when an earlier object took it.
std::string uniqueName(std::string name, std::set<std::string>& taken) {
    if (name.empty())
        name = "Object";
    std::string candidate = name;
    for (int n = 2; taken.count(candidate) != 0; ++n)
        candidate = name + " " + std::to_string(n);
    taken.insert(candidate);
    return candidate;
}

/// Triangles of a working file as the exporter pulls them.
template <typename T> exp::TriangleFeed feedOf(geom::TriangleStreamReader<T>& reader) {
    return [&reader](std::array<double, 9>& out) {
        if (!reader.isOpen())
            return exp::TriangleStep::kError;
        geom::Triangle<T> t{};
        switch (reader.next(t)) {
        case geom::StreamRead::Triangle:
            for (std::size_t k = 0; k < 9; ++k)
                out[k] = static_cast<double>(t[k / 3][k % 3]);
            return exp::TriangleStep::kTriangle;
        case geom::StreamRead::End:
            return exp::TriangleStep::kEnd;
        case geom::StreamRead::Error:
            break;
        }
        return exp::TriangleStep::kError;
    };
}

std::span<const model::MotionFrame> channelFrames(const sim::RecordChannel& channel) {
    return std::span<const model::MotionFrame>(channel.frames)
        .first(static_cast<std::size_t>(std::max(channel.count, 0)));
}

} // namespace

SceneTakes liveTakes(const Document& document) {
    SceneTakes takes;
    const sim::RunState& run = document.run();
    if (!run.channels.allocated)
        return takes;
    takes.objects.resize(static_cast<std::size_t>(std::max(document.objectCount(), 0)));
    for (int s = 0; s < std::min(run.slotCount, sim::kMaxSlots); ++s) {
        const int object = run.slots[static_cast<std::size_t>(s)].objectIndex;
        const sim::RecordChannel& channel = run.channels.channels[static_cast<std::size_t>(s)];
        if (object >= 0 && object < document.objectCount() && channel.count > 0)
            takes.objects[static_cast<std::size_t>(object)] = channelFrames(channel);
    }
    const sim::RecordChannel& camera = run.channels.channels[sim::kCameraChannel];
    if (camera.count > 0)
        takes.camera = channelFrames(camera);
    return takes;
}

bool hasLiveTakes(const Document& document) {
    const sim::RunState& run = document.run();
    if (!run.channels.allocated)
        return false;
    for (const sim::RecordChannel& c : run.channels.channels) {
        if (c.count > 0)
            return true;
    }
    return false;
}

bool exportSceneGltf(Document& document, const SceneTakes& takes,
                     const std::filesystem::path& outputFile, const std::string& title,
                     const std::string& generator, ProgressPort& progress, MessagePort& messages) {
    exp::GltfScene scene;
    scene.title = title;
    scene.generator = generator;

    // Each surface is read through a reader of its own, from the start of its
    // working file, whatever the drawing code's sequential readers hold.
    std::vector<std::unique_ptr<geom::TerrainStreamReader>> terrainReaders;
    std::vector<std::unique_ptr<geom::SceneryStreamReader>> sceneryReaders;
    geom::TerrainStore& terrain = document.terrain();
    if (terrain.present()) {
        scene.hasTerrain = true;
        scene.terrain.name = exp::kTerrainNodeName;
        scene.terrain.colour = kTerrainColour;
        scene.terrain.triangleCount = terrain.info().triangleCount;
        scene.terrain.smoothAngleDeg = kTerrainSmoothAngleDeg;
        terrainReaders.push_back(
            std::make_unique<geom::TerrainStreamReader>(terrain.workingFile()));
        scene.terrain.feed = feedOf(*terrainReaders.back());
    }
    const geom::SceneryStore& scenery = document.scenery();
    for (int i = 0; i < scenery.count(); ++i) {
        exp::GltfSurface set;
        set.name = exp::sceneryNodeName(i);
        set.colour = baseColour(scenery.set(i).color, scenery.set(i).transparency);
        set.triangleCount = scenery.set(i).triangleCount;
        sceneryReaders.push_back(
            std::make_unique<geom::SceneryStreamReader>(scenery.workingFile(i)));
        set.feed = feedOf(*sceneryReaders.back());
        scene.scenery.push_back(std::move(set));
    }

    const int objects = std::max(document.objectCount(), 0);
    std::vector<exp::GltfMesh> meshes;
    meshes.reserve(static_cast<std::size_t>(objects));
    std::set<std::string> names;
    model::MotionStore& stored = document.motions();
    for (int slot = 0; slot < objects; ++slot) {
        const model::ObjectRecord& record = document.object(slot);
        meshes.push_back(meshOf(document.meshes(), slot));
        exp::GltfObject object;
        object.record = &record;
        object.mesh = &meshes.back();
        object.name = uniqueName(model::recordName(record.name), names);
        object.colour = baseColour(record.color, record.transparency);
        object.restPose = stillPose(record);
        const auto s = static_cast<std::size_t>(slot);
        if (s < takes.objects.size() && !takes.objects[s].empty()) {
            object.frames = takes.objects[s];
        } else if (slot > 0 && stored.validSlot(slot) && stored.lastFrame(slot) >= 1) {
            object.frames = std::as_const(stored).frames(slot).first(
                static_cast<std::size_t>(std::min(stored.lastFrame(slot) + 1, stored.maxFrames())));
        }
        scene.objects.push_back(std::move(object));
    }

    if (takes.camera) {
        const Preferences& prefs = document.preferences();
        scene.hasCamera = true;
        scene.camera.frames = *takes.camera;
        const double aspect = prefs.aspectRatio > 0.0f ? prefs.aspectRatio : 1.3333;
        // The camera view's projection: a vertical angle of the field of view
        // divided by the view aspect.
        scene.camera.yfovRad =
            static_cast<double>(prefs.fieldOfView) / aspect * std::numbers::pi / 180.0;
        scene.camera.aspectRatio = aspect;
        scene.camera.znear = kNearPlane;
        scene.camera.zfar = kFarPlane;
    }
    return exp::exportGltfScene(scene, outputFile, progress, messages);
}

} // namespace kv::app
