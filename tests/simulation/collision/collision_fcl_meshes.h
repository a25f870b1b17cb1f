#pragma once
// The test meshes and poses handed to FCL, the independent collision library
// the cross-check test and the collision benchmark compare against. Only
// included where FCL was found (KV_HAVE_FCL).

#include "collision_meshes.h"

#include <cstddef>
#include <fcl/geometry/bvh/BVH_model.h>
#include <fcl/math/bv/OBB.h>
#include <fcl/narrowphase/collision.h>
#include <memory>
#include <vector>

namespace kv::sim::collision::testmesh {

using FclModel = fcl::BVHModel<fcl::OBBd>;

inline std::shared_ptr<FclModel> fclModel(const Mesh& mesh) {
    auto model = std::make_shared<FclModel>();
    std::vector<fcl::Vector3d> points;
    for (const Vec3& v : mesh.vertices)
        points.emplace_back(v[0], v[1], v[2]);
    std::vector<fcl::Triangle> tris;
    for (const auto& t : mesh.triangles) {
        tris.emplace_back(static_cast<std::size_t>(t[0]), static_cast<std::size_t>(t[1]),
                          static_cast<std::size_t>(t[2]));
    }
    model->beginModel();
    model->addSubModel(points, tris);
    model->endModel();
    return model;
}

inline fcl::Transform3d fclPose(const Pose& pose) {
    fcl::Matrix3d r;
    for (int i = 0; i < 3; ++i) {
        for (int j = 0; j < 3; ++j)
            r(i, j) = pose.r[static_cast<std::size_t>(i * 3 + j)];
    }
    fcl::Transform3d tf = fcl::Transform3d::Identity();
    tf.linear() = r;
    tf.translation() = fcl::Vector3d(pose.t[0], pose.t[1], pose.t[2]);
    return tf;
}

} // namespace kv::sim::collision::testmesh
