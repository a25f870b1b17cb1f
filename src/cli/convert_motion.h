#pragma once
/// The file forms of kestrovane-cli convert: a motion file to a BioVision BVH
/// file or an Acclaim ASF/AMC pair, an object's geometry to a DXF file.

#include <string>
#include <vector>

namespace kv::cli {

/// `convert bvh MOTION.kvm [-o OUT.bvh] [--units U] [--axes right|left]`;
/// `args` are the words after "bvh". Returns the exit code.
int convertBvh(const std::vector<std::string>& args);

/// `convert asf MOTION.kvm [-o OUT_BASE] [--units U] [--axes right|left]`;
/// the skeleton is OUT_BASE.asf and the motion OUT_BASE.amc.
int convertAsf(const std::vector<std::string>& args);

/// `convert gltf MOTION.kvm [-o OUT.glb|OUT.gltf]`: the vehicle's mesh, its
/// effector tree and its motion as glTF 2.0.
int convertGltf(const std::vector<std::string>& args);

/// `convert gltf --project P.kvp [--take T.kvm] [--camera C.kvm] [-o OUT.glb]`:
/// the project's whole scene as one binary glTF file.
int convertGltfScene(const std::vector<std::string>& args);

/// `convert dxf IN.kvo|IN.kvm -o OUT.dxf [--units U] [--axes right|left]`:
/// the object's geometry as 3DFACE entities.
int convertDxf(const std::vector<std::string>& args);

} // namespace kv::cli
