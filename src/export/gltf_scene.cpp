#include "export/gltf_scene.h"

#include "export/gltf_buffer.h"
#include "export/gltf_keys.h"
#include "export/gltf_pose.h"
#include "model/motion_file.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <numbers>
#include <tiny_gltf.h>

namespace kv::exp {
namespace {

namespace fs = std::filesystem;

/// Share of the progress display the geometry takes; the rest is the motion
/// and the writing.
constexpr double kGeometryShare = 0.8;

/// The quaternion product a b (x, y, z, w).
GltfQuaternion multiply(const GltfQuaternion& a, const GltfQuaternion& b) {
    return {a[3] * b[0] + a[0] * b[3] + a[1] * b[2] - a[2] * b[1],
            a[3] * b[1] - a[0] * b[2] + a[1] * b[3] + a[2] * b[0],
            a[3] * b[2] + a[0] * b[1] - a[1] * b[0] + a[2] * b[3],
            a[3] * b[3] - a[0] * b[0] - a[1] * b[1] - a[2] * b[2]};
}

/// Reports progress; false when the user aborted.
class Progress {
  public:
    Progress(ProgressPort& port, std::int64_t triangles) : port_(port), triangles_(triangles) {}

    bool triangle() {
        ++done_;
        // A few hundred updates over the whole geometry are plenty.
        if (triangles_ <= 0 || done_ % 4096 != 0)
            return true;
        return port_.update(kGeometryShare * static_cast<double>(done_) /
                            static_cast<double>(triangles_));
    }
    bool at(double fraction) { return port_.update(fraction); }

  private:
    ProgressPort& port_;
    std::int64_t triangles_;
    std::int64_t done_ = 0;
};

enum class Outcome { kDone, kFailed, kAborted };

/// Reads `surface` and adds its node, mesh and material.
Outcome addSurface(tinygltf::Model& out, GltfBuffer& buffer, const GltfSurface& surface,
                   Progress& progress, int& node) {
    std::vector<GltfVec3> positions;
    if (surface.triangleCount > 0)
        positions.reserve(static_cast<std::size_t>(surface.triangleCount) * 3);
    std::array<double, 9> t{};
    for (;;) {
        const TriangleStep step = surface.feed(t);
        if (step == TriangleStep::kError)
            return Outcome::kFailed;
        if (step == TriangleStep::kEnd)
            break;
        for (std::size_t k = 0; k < 3; ++k) {
            const auto g = toGltfAxes(t[3 * k], t[3 * k + 1], t[3 * k + 2]);
            positions.push_back(
                {static_cast<float>(g[0]), static_cast<float>(g[1]), static_cast<float>(g[2])});
        }
        if (!progress.triangle())
            return Outcome::kAborted;
    }
    std::vector<GltfVec3> normals = creasedNormals(positions, surface.smoothAngleDeg);
    node = -1;
    if (positions.empty())
        return Outcome::kDone;

    const int material = addGltfMaterial(out, surface.name, surface.colour, 0.9);

    tinygltf::Primitive primitive;
    buffer.data().reserve(buffer.data().size() + positions.size() * sizeof(GltfVec3) * 2);
    primitive.attributes["POSITION"] =
        buffer.addFloats(positions.data()->data(), positions.size() * 3, TINYGLTF_TYPE_VEC3, 3,
                         TINYGLTF_TARGET_ARRAY_BUFFER, true);
    positions = {};
    primitive.attributes["NORMAL"] =
        buffer.addFloats(normals.data()->data(), normals.size() * 3, TINYGLTF_TYPE_VEC3, 3,
                         TINYGLTF_TARGET_ARRAY_BUFFER, false);
    normals = {};
    primitive.material = material;
    primitive.mode = TINYGLTF_MODE_TRIANGLES;
    tinygltf::Mesh mesh;
    mesh.name = surface.name;
    mesh.primitives.push_back(primitive);
    out.meshes.push_back(mesh);

    tinygltf::Node n;
    n.name = surface.name;
    n.mesh = static_cast<int>(out.meshes.size()) - 1;
    out.nodes.push_back(n);
    node = static_cast<int>(out.nodes.size()) - 1;
    return Outcome::kDone;
}

double cameraTurn(const model::MotionFrame& a, const model::MotionFrame& b) {
    using namespace model;
    return attitudeChange(a[kFrameRoll], a[kFramePitch], a[kFrameYaw], b[kFrameRoll],
                          b[kFramePitch], b[kFrameYaw], true);
}

int addCamera(tinygltf::Model& out, GltfBuffer& buffer, tinygltf::Animation& animation,
              const GltfCamera& camera) {
    tinygltf::Camera lens;
    lens.name = kCameraNodeName;
    lens.type = "perspective";
    lens.perspective.yfov = camera.yfovRad;
    lens.perspective.aspectRatio = camera.aspectRatio;
    lens.perspective.znear = camera.znear;
    lens.perspective.zfar = camera.zfar;
    out.cameras.push_back(lens);

    tinygltf::Node node;
    node.name = kCameraNodeName;
    node.camera = static_cast<int>(out.cameras.size()) - 1;
    const std::vector<const model::MotionFrame*> keys = keyableFrames(camera.frames);
    const GltfPose rest = cameraNodePose(keys.empty() ? model::MotionFrame{} : *keys.front());
    node.translation.assign(rest.translation.begin(), rest.translation.end());
    node.rotation.assign(rest.rotation.begin(), rest.rotation.end());
    out.nodes.push_back(node);
    const int index = static_cast<int>(out.nodes.size()) - 1;
    if (!keys.empty()) {
        SharedKeyTimes times;
        addNodeChannels(buffer, animation, index,
                        keyNode(keys, NodeMotion{cameraNodePose, cameraTurn}), times);
    }
    return index;
}

} // namespace

std::string sceneryNodeName(int index) {
    return "Scenery " + std::to_string(index + 1);
}

GltfPose cameraNodePose(const model::MotionFrame& f) {
    using namespace model;
    GltfPose pose = toGltfPose(f[kFrameNorth], f[kFrameEast], f[kFrameDown], f[kFrameRoll],
                               f[kFramePitch], f[kFrameYaw]);
    // The body's +Z (forward) becomes the camera's -Z, its +X (left) the
    // camera's -X: half a turn about the body's up axis.
    pose.rotation = multiply(pose.rotation, {0.0, 1.0, 0.0, 0.0});
    if (pose.rotation[3] < 0.0) {
        for (double& c : pose.rotation)
            c = -c;
    }
    return pose;
}

std::vector<GltfVec3> creasedNormals(std::vector<GltfVec3>& positions, double smoothAngleDeg) {
    // Faces and their unit normals; faces without area are dropped.
    std::vector<GltfVec3> faceNormals;
    faceNormals.reserve(positions.size() / 3);
    std::size_t kept = 0;
    for (std::size_t f = 0; f + 2 < positions.size(); f += 3) {
        const GltfVec3 a = positions[f], b = positions[f + 1], c = positions[f + 2];
        const double ux = b[0] - a[0], uy = b[1] - a[1], uz = b[2] - a[2];
        const double vx = c[0] - a[0], vy = c[1] - a[1], vz = c[2] - a[2];
        const double nx = uy * vz - uz * vy, ny = uz * vx - ux * vz, nz = ux * vy - uy * vx;
        const double length = std::sqrt(nx * nx + ny * ny + nz * nz);
        if (!(length > 1e-12) || !std::isfinite(length))
            continue;
        faceNormals.push_back({static_cast<float>(nx / length), static_cast<float>(ny / length),
                               static_cast<float>(nz / length)});
        positions[kept] = a;
        positions[kept + 1] = b;
        positions[kept + 2] = c;
        kept += 3;
    }
    positions.resize(kept);

    std::vector<GltfVec3> normals(positions.size());
    for (std::size_t i = 0; i < positions.size(); ++i)
        normals[i] = faceNormals[i / 3];
    if (!(smoothAngleDeg > 0.0) || positions.empty())
        return normals;

    // Corners grouped by position: equal corners are neighbours in this order.
    std::vector<std::uint32_t> order(positions.size());
    for (std::size_t i = 0; i < order.size(); ++i)
        order[i] = static_cast<std::uint32_t>(i);
    std::sort(order.begin(), order.end(), [&positions](std::uint32_t l, std::uint32_t r) {
        return positions[l] < positions[r];
    });
    const float cosLimit = static_cast<float>(std::cos(smoothAngleDeg * std::numbers::pi / 180.0));
    for (std::size_t begin = 0; begin < order.size();) {
        std::size_t end = begin + 1;
        while (end < order.size() && positions[order[end]] == positions[order[begin]])
            ++end;
        if (end - begin > 1) {
            for (std::size_t i = begin; i < end; ++i) {
                const GltfVec3& own = faceNormals[order[i] / 3];
                double sx = 0.0, sy = 0.0, sz = 0.0;
                for (std::size_t j = begin; j < end; ++j) {
                    const GltfVec3& other = faceNormals[order[j] / 3];
                    const float dot = own[0] * other[0] + own[1] * other[1] + own[2] * other[2];
                    if (j == i || dot > cosLimit) {
                        sx += other[0];
                        sy += other[1];
                        sz += other[2];
                    }
                }
                const double length = std::sqrt(sx * sx + sy * sy + sz * sz);
                if (length > 1e-9) {
                    normals[order[i]] = {static_cast<float>(sx / length),
                                         static_cast<float>(sy / length),
                                         static_cast<float>(sz / length)};
                }
            }
        }
        begin = end;
    }
    return normals;
}

bool exportGltfScene(const GltfScene& scene, const fs::path& outputFile, ProgressPort& progressPort,
                     MessagePort& messages) {
    std::int64_t triangles = scene.hasTerrain ? scene.terrain.triangleCount : 0;
    for (const GltfSurface& s : scene.scenery)
        triangles += s.triangleCount;
    progressPort.start(kSceneProgressTitle);
    Progress progress(progressPort, triangles);
    const auto fail = [&](Outcome outcome) {
        progressPort.finish();
        if (outcome == Outcome::kFailed)
            messages.showMessage(model::saveFailedMessage(outputFile));
        return false;
    };

    tinygltf::Model gltf;
    gltf.asset.version = "2.0";
    gltf.asset.generator = scene.generator;
    GltfBuffer buffer(gltf);
    tinygltf::Scene root;
    root.name = scene.title;

    std::vector<const GltfSurface*> surfaces;
    if (scene.hasTerrain)
        surfaces.push_back(&scene.terrain);
    for (const GltfSurface& s : scene.scenery)
        surfaces.push_back(&s);
    for (const GltfSurface* s : surfaces) {
        int node = -1;
        const Outcome outcome = addSurface(gltf, buffer, *s, progress, node);
        if (outcome != Outcome::kDone)
            return fail(outcome);
        if (node >= 0)
            root.nodes.push_back(node);
    }

    tinygltf::Animation animation;
    animation.name = scene.title;
    for (std::size_t i = 0; i < scene.objects.size(); ++i) {
        root.nodes.push_back(addGltfObject(gltf, buffer, animation, scene.objects[i]));
        if (!progress.at(kGeometryShare + (1.0 - kGeometryShare) * 0.5 *
                                              static_cast<double>(i + 1) /
                                              static_cast<double>(scene.objects.size())))
            return fail(Outcome::kAborted);
    }
    if (scene.hasCamera)
        root.nodes.push_back(addCamera(gltf, buffer, animation, scene.camera));
    if (!animation.channels.empty())
        gltf.animations.push_back(animation);
    gltf.scenes.push_back(root);
    gltf.defaultScene = 0;

    if (!progress.at(kGeometryShare + (1.0 - kGeometryShare) * 0.5))
        return fail(Outcome::kAborted);
    if (!writeGlb(gltf, buffer.data(), outputFile))
        return fail(Outcome::kFailed);
    progressPort.update(1.0);
    progressPort.finish();
    return true;
}

} // namespace kv::exp
