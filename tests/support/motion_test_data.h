#pragma once
/// Sample objects, geometry and frames for the motion and object file tests,
/// and a mesh stand-in that records the faces a reader hands over.

#include "model/motion_file.h"
#include "model/motion_stream.h"
#include "model/object_record.h"

#include <array>
#include <vector>

namespace kv::filetest {

/// A car-like record with a distinct value in every block, two effectors and a name.
model::ObjectRecord sampleObject();

/// `n` distinct triangles (metres).
std::vector<std::array<float, 9>> sampleTriangles(std::size_t n);

/// A writer's view of `triangles` (which must outlive it).
model::TriangleSource sourceOf(const std::vector<std::array<float, 9>>& triangles);

/// A frame at time `t` whose other fields are distinct functions of `t`.
model::MotionFrame sampleFrame(float t);

/// Records faces and clears like a slot's mesh.
struct MeshRecorder {
    std::vector<std::array<double, 12>> faces;
    int clears = 0;
    int acceptLimit = 1 << 30; ///< faces accepted before the sink says stop
    model::GeometryIntake intake();
};

} // namespace kv::filetest
