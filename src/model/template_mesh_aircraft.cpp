#include "model/template_mesh.h"

namespace kv::model {

std::vector<MeshFace> buildAircraftMesh() {
    MeshBuilder b;
    b.box({-0.5, -0.5, -0.5}, {0.5, 0.5, 0.5});
    return b.faces();
}

} // namespace kv::model
