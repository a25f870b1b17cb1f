#pragma once
/// One moving object in a glTF model: its body node (the centre of gravity),
/// its mesh in its colour, one node per effector parented like the effector
/// tree and named as in the BVH export, and the channels of its motion in a
/// shared animation.

#include "export/gltf_buffer.h"
#include "export/gltf_keys.h"
#include "model/motion_frame.h"
#include "model/object_record.h"

#include <array>
#include <span>
#include <string>
#include <tiny_gltf.h>
#include <vector>

namespace kv::exp {

using GltfVec3 = std::array<float, 3>;

/// A mesh in glTF's axes (metres), three corners per triangle with the
/// triangle's normal on each.
struct GltfMesh {
    std::vector<GltfVec3> positions;
    std::vector<GltfVec3> normals;

    /// Adds a triangle given in glTF's axes; one without area is left out.
    void addTriangle(const GltfVec3& a, const GltfVec3& b, const GltfVec3& c);
    /// One stored face: four corners x, y, z (metres, body axes), the fourth
    /// repeating the third for a triangle.
    void addFace(const std::array<double, 12>& face);
};

struct GltfObject {
    const model::ObjectRecord* record = nullptr;
    /// Recorded frames in time order; frames that are not finite or not later
    /// than the previous key are left out. None: the object stands still at
    /// `restPose`.
    std::span<const model::MotionFrame> frames;
    const GltfMesh* mesh = nullptr;
    /// Names the nodes: "<name>.CG", "<name>" for the mesh, "<name>.<effector>".
    std::string name;
    std::array<float, 4> colour{0.6f, 0.6f, 0.6f, 1.0f}; ///< linear RGBA
    /// The frame posing a still object (position and attitude fields).
    model::MotionFrame restPose{};
};

/// Adds `object` to `model` (nodes, mesh, material, accessors in `buffer`)
/// and its channels to `animation`; returns the index of its body node, which
/// the caller puts in a scene. The body is keyed whenever it has frames.
int addGltfObject(tinygltf::Model& model, GltfBuffer& buffer, tinygltf::Animation& animation,
                  const GltfObject& object);

/// Adds a double-sided material (imported polygons have no agreed front side)
/// of `colour` (linear RGBA; blended when not opaque), not metallic, with
/// `roughness`; returns its index.
int addGltfMaterial(tinygltf::Model& model, const std::string& name,
                    const std::array<float, 4>& colour, double roughness);

/// Key times several nodes share: written once, on first use.
struct SharedKeyTimes {
    std::vector<float> times;
    int accessor = -1;
};

/// Adds a sampler and a channel for the translation and the rotation of
/// `node` (LINEAR), the key times taken from `shared` when they are the same.
void addNodeChannels(GltfBuffer& buffer, tinygltf::Animation& animation, int node,
                     const NodeKeys& keys, SharedKeyTimes& shared);

} // namespace kv::exp
