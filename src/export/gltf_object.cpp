#include "export/gltf_object.h"

#include "common/unit_constants.h"
#include "export/effector_tree.h"
#include "export/effector_values.h"
#include "export/gltf_pose.h"
#include "export/joint_names.h"
#include "model/driver_codes.h"

#include <algorithm>
#include <cmath>

namespace kv::exp {
namespace {

/// The six values of an effector as geometry: the degrees of freedom that
/// carry sound data (skid indicator, tachometer) stay at rest, as they do in
/// the simulator's own effector tree.
std::array<float, 6> poseValues(const model::EffectorRecord& e, const model::MotionFrame& f) {
    std::array<float, 6> v = effectorValues(e, f);
    for (std::size_t i = 0; i < v.size(); ++i) {
        const int code = e.drivers[i];
        if (model::isSkidIndicatorCode(code) || code == model::kDriverTachometer)
            v[i] = e.offsets[i];
    }
    return v;
}

GltfPose bodyPose(const model::MotionFrame& f) {
    using namespace model;
    return toGltfPose(f[kFrameNorth], f[kFrameEast], f[kFrameDown], f[kFrameRoll], f[kFramePitch],
                      f[kFrameYaw]);
}

double bodyTurn(const model::MotionFrame& a, const model::MotionFrame& b) {
    using namespace model;
    return attitudeChange(a[kFrameRoll], a[kFramePitch], a[kFrameYaw], b[kFrameRoll],
                          b[kFramePitch], b[kFrameYaw], true);
}

GltfPose effectorPose(const model::EffectorRecord& e, const model::MotionFrame& f) {
    const std::array<float, 6> v = poseValues(e, f);
    return toGltfPose(v[0] * kMetresPerFootD, v[1] * kMetresPerFootD, v[2] * kMetresPerFootD, v[3],
                      v[4], v[5]);
}

double effectorTurn(const model::EffectorRecord& e, const model::MotionFrame& a,
                    const model::MotionFrame& b) {
    const std::array<float, 6> va = poseValues(e, a);
    const std::array<float, 6> vb = poseValues(e, b);
    // Effector angles are not wrapped: a wheel's roll grows without bound.
    return attitudeChange(va[3], va[4], va[5], vb[3], vb[4], vb[5], false);
}

std::vector<float> flatten(const std::vector<GltfVec3>& v) {
    std::vector<float> out;
    out.reserve(v.size() * 3);
    for (const GltfVec3& p : v)
        out.insert(out.end(), p.begin(), p.end());
    return out;
}

void setRest(tinygltf::Node& node, const GltfPose& pose) {
    node.translation.assign(pose.translation.begin(), pose.translation.end());
    node.rotation.assign(pose.rotation.begin(), pose.rotation.end());
}

} // namespace

void GltfMesh::addTriangle(const GltfVec3& a, const GltfVec3& b, const GltfVec3& c) {
    const double ux = b[0] - a[0], uy = b[1] - a[1], uz = b[2] - a[2];
    const double vx = c[0] - a[0], vy = c[1] - a[1], vz = c[2] - a[2];
    const double nx = uy * vz - uz * vy, ny = uz * vx - ux * vz, nz = ux * vy - uy * vx;
    const double length = std::sqrt(nx * nx + ny * ny + nz * nz);
    // A triangle without area draws nothing and has no normal to give.
    if (!(length > 1e-12) || !std::isfinite(length))
        return;
    const GltfVec3 n{static_cast<float>(nx / length), static_cast<float>(ny / length),
                     static_cast<float>(nz / length)};
    for (const GltfVec3* p : {&a, &b, &c}) {
        positions.push_back(*p);
        normals.push_back(n);
    }
}

void GltfMesh::addFace(const std::array<double, 12>& f) {
    std::array<GltfVec3, 4> corner{};
    for (std::size_t k = 0; k < 4; ++k) {
        const auto g = toGltfAxes(f[3 * k], f[3 * k + 1], f[3 * k + 2]);
        corner[k] = {static_cast<float>(g[0]), static_cast<float>(g[1]), static_cast<float>(g[2])};
    }
    addTriangle(corner[0], corner[1], corner[2]);
    if (corner[3] != corner[2])
        addTriangle(corner[0], corner[2], corner[3]);
}

void addNodeChannels(GltfBuffer& buffer, tinygltf::Animation& animation, int node,
                     const NodeKeys& keys, SharedKeyTimes& shared) {
    int times = -1;
    if (keys.times == shared.times) {
        if (shared.accessor < 0)
            shared.accessor = buffer.addFloats(shared.times, TINYGLTF_TYPE_SCALAR, 1, 0, true);
        times = shared.accessor;
    } else {
        times = buffer.addFloats(keys.times, TINYGLTF_TYPE_SCALAR, 1, 0, true);
    }
    const int translations = buffer.addFloats(keys.translations, TINYGLTF_TYPE_VEC3, 3, 0, false);
    const int rotations = buffer.addFloats(keys.rotations, TINYGLTF_TYPE_VEC4, 4, 0, false);
    for (const auto& [output, path] :
         {std::pair{translations, "translation"}, std::pair{rotations, "rotation"}}) {
        tinygltf::AnimationSampler sampler;
        sampler.input = times;
        sampler.output = output;
        sampler.interpolation = "LINEAR";
        animation.samplers.push_back(sampler);
        tinygltf::AnimationChannel channel;
        channel.sampler = static_cast<int>(animation.samplers.size()) - 1;
        channel.target_node = node;
        channel.target_path = path;
        animation.channels.push_back(channel);
    }
}

int addGltfObject(tinygltf::Model& out, GltfBuffer& buffer, tinygltf::Animation& animation,
                  const GltfObject& object) {
    const model::ObjectRecord& record = *object.record;
    const std::string& name = object.name;

    const std::vector<const model::MotionFrame*> keys = keyableFrames(object.frames);

    tinygltf::Node body;
    body.name = centreOfGravityName(name);
    out.nodes.push_back(body);
    const int bodyNode = static_cast<int>(out.nodes.size()) - 1;

    if (object.mesh != nullptr && !object.mesh->positions.empty()) {
        const int material = addGltfMaterial(out, name, object.colour, 0.8);

        tinygltf::Primitive primitive;
        primitive.attributes["POSITION"] =
            buffer.addFloats(flatten(object.mesh->positions), TINYGLTF_TYPE_VEC3, 3,
                             TINYGLTF_TARGET_ARRAY_BUFFER, true);
        primitive.attributes["NORMAL"] =
            buffer.addFloats(flatten(object.mesh->normals), TINYGLTF_TYPE_VEC3, 3,
                             TINYGLTF_TARGET_ARRAY_BUFFER, false);
        primitive.material = material;
        primitive.mode = TINYGLTF_MODE_TRIANGLES;
        tinygltf::Mesh gltfMesh;
        gltfMesh.name = name;
        gltfMesh.primitives.push_back(primitive);
        out.meshes.push_back(gltfMesh);

        tinygltf::Node meshNode;
        meshNode.name = name;
        meshNode.mesh = static_cast<int>(out.meshes.size()) - 1;
        out.nodes.push_back(meshNode);
        out.nodes[static_cast<std::size_t>(bodyNode)].children.push_back(
            static_cast<int>(out.nodes.size()) - 1);
    }

    // Effector nodes in the export order; a node's parent is the body or the
    // node of its parent effector.
    const EffectorTree tree = buildEffectorTree(record);
    std::array<int, model::kMaxEffectors> nodeOf{};
    nodeOf.fill(-1);
    for (int index : tree.order) {
        tinygltf::Node node;
        node.name = effectorJointName(name, record.effectors[static_cast<std::size_t>(index)]);
        out.nodes.push_back(node);
        nodeOf[static_cast<std::size_t>(index)] = static_cast<int>(out.nodes.size()) - 1;
    }
    for (int root : tree.roots)
        out.nodes[static_cast<std::size_t>(bodyNode)].children.push_back(
            nodeOf[static_cast<std::size_t>(root)]);
    for (int index : tree.order) {
        for (int child : tree.children[static_cast<std::size_t>(index)]) {
            out.nodes[static_cast<std::size_t>(nodeOf[static_cast<std::size_t>(index)])]
                .children.push_back(nodeOf[static_cast<std::size_t>(child)]);
        }
    }

    // Rest pose: the first key, or the still pose.
    const model::MotionFrame& first = keys.empty() ? object.restPose : *keys.front();
    setRest(out.nodes[static_cast<std::size_t>(bodyNode)], bodyPose(first));
    for (int index : tree.order) {
        setRest(out.nodes[static_cast<std::size_t>(nodeOf[static_cast<std::size_t>(index)])],
                effectorPose(record.effectors[static_cast<std::size_t>(index)], first));
    }
    if (keys.empty())
        return bodyNode;

    SharedKeyTimes frameTimes;
    frameTimes.times.reserve(keys.size());
    for (const model::MotionFrame* f : keys)
        frameTimes.times.push_back((*f)[model::kFrameTime]);

    // The body is always keyed, so every moving object has its channels; an
    // effector only when it moves.
    const NodeKeys bodyKeys = keyNode(keys, NodeMotion{bodyPose, bodyTurn});
    addNodeChannels(buffer, animation, bodyNode, bodyKeys, frameTimes);
    for (int index : tree.order) {
        const model::EffectorRecord& e = record.effectors[static_cast<std::size_t>(index)];
        const NodeKeys effectorKeys = keyNode(
            keys, NodeMotion{[&e](const model::MotionFrame& f) { return effectorPose(e, f); },
                             [&e](const model::MotionFrame& a, const model::MotionFrame& b) {
                                 return effectorTurn(e, a, b);
                             }});
        if (effectorKeys.moves) {
            addNodeChannels(buffer, animation, nodeOf[static_cast<std::size_t>(index)],
                            effectorKeys, frameTimes);
        }
    }
    return bodyNode;
}

int addGltfMaterial(tinygltf::Model& model, const std::string& name,
                    const std::array<float, 4>& colour, double roughness) {
    tinygltf::Material material;
    material.name = name;
    material.pbrMetallicRoughness.baseColorFactor.assign(colour.begin(), colour.end());
    material.pbrMetallicRoughness.metallicFactor = 0.0;
    material.pbrMetallicRoughness.roughnessFactor = roughness;
    if (colour[3] < 1.0f)
        material.alphaMode = "BLEND";
    material.doubleSided = true;
    model.materials.push_back(material);
    return static_cast<int>(model.materials.size()) - 1;
}

} // namespace kv::exp
