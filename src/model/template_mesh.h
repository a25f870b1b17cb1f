#pragma once
/// The built-in meshes of the four vehicle templates, handed face by face to a
/// geometry intake exactly as faces read from a DXF file are.

#include "model/template_mesh_builder.h"

#include <array>
#include <functional>
#include <vector>

namespace kv::model {

/// Receives one face: four corners in metres in body axes (forward, right,
/// down), a triangle repeating its third corner. Returns non-zero to go on.
using FaceSink = std::function<int(const std::array<double, 12>&)>;

/// Faces of the built-in mesh of `vehicleType` (0..3); empty for any other
/// type. Generated once, then constant.
const std::vector<MeshFace>& templateMeshFaces(int vehicleType);

/// Hands every face of the built-in mesh of `vehicleType` to `addFace`, in
/// order, stopping when it returns 0. Returns 1 when every face was taken
/// (a type outside 0..3 has none), 0 when the intake stopped early. Clearing
/// the slot beforehand and rebuilding its derived data afterwards belong to
/// the caller that owns the mesh store.
int loadTemplateMesh(int vehicleType, const FaceSink& addFace);

/// Face counts of the built-in meshes.
inline constexpr std::array<int, 4> kTemplateMeshFaceCounts = {260, 764, 422, 460};

/// Mesh generators, one per vehicle.
std::vector<MeshFace> buildCarMesh();
std::vector<MeshFace> buildMotorcycleMesh();
std::vector<MeshFace> buildAircraftMesh();
std::vector<MeshFace> buildHelicopterMesh();

} // namespace kv::model
