#include "model/template_mesh.h"

#include "model/object_record.h"

namespace kv::model {

const std::vector<MeshFace>& templateMeshFaces(int vehicleType) {
    static const std::vector<MeshFace> kNone;
    static const std::array<std::vector<MeshFace>, 4> kMeshes = {
        buildCarMesh(), buildMotorcycleMesh(), buildAircraftMesh(), buildHelicopterMesh()};
    if (vehicleType < kVehicleCar || vehicleType > kVehicleHelicopter) {
        return kNone;
    }
    return kMeshes[static_cast<std::size_t>(vehicleType)];
}

int loadTemplateMesh(int vehicleType, const FaceSink& addFace) {
    for (const MeshFace& f : templateMeshFaces(vehicleType)) {
        if (addFace(f) == 0) {
            return 0;
        }
    }
    return 1;
}

} // namespace kv::model
