#include "support/motion_test_data.h"

#include "model/object_model.h"

namespace kv::filetest {

model::ObjectRecord sampleObject() {
    using namespace kv::model;
    ObjectRecord r;
    resetObject(r);
    r.reserved0 = 77;
    r.vehicleType = kVehicleCar;
    r.role = kRoleDynamic;
    r.recordChannel = 1;
    setRecordName(r.name, "Golf");
    r.initial.position = {10.0f, -20.0f, -3.0f};
    r.initial.attitude = {1.0f, 2.0f, 45.0f};
    r.initial.velocity = {30.0f, 0.0f, 0.0f};
    r.mass.mass = 85.5f;
    r.mass.inertia = {300, 0, 0, 0, 1200, 0, 0, 0, 1400};
    r.tires.tireCount = 2;
    r.tires.surface = 200;
    r.tires.spring[0] = 0.7f;
    r.engineType = kEngineCar;
    r.enginePower = 110.0f;
    r.aero.area = 21.5f;
    r.collisionFriction = 0.4f;
    r.geometryTransform.fileUnit = 0.0254f;
    r.color = 3;
    r.effectorCount = 2;
    r.effectors[0].kind = kEffectorTire;
    r.effectors[0].drivers = {0, 0, 21, 31, 0, 19};
    r.effectors[0].scales = {0, 0, -1.0f, 1.0f, 0, 0.5f};
    r.effectors[0].radius = 1.05f;
    setRecordName(r.effectors[0].name, "Front Left");
    r.effectors[1].kind = kEffectorBasic;
    r.effectors[1].parent = 0;
    setRecordName(r.effectors[1].name, "Hub");
    r.effectors[0].childCount = 1;
    r.effectors[0].children[0] = 1;
    return r;
}

std::vector<std::array<float, 9>> sampleTriangles(std::size_t n) {
    std::vector<std::array<float, 9>> out;
    for (std::size_t i = 0; i < n; ++i) {
        const float x = static_cast<float>(i);
        out.push_back({x, 0.0f, 0.0f, x + 1.0f, 0.5f, 0.0f, x, 1.0f, -0.25f});
    }
    return out;
}

model::TriangleSource sourceOf(const std::vector<std::array<float, 9>>& triangles) {
    return {triangles.size(), [&triangles](std::size_t i) { return triangles[i]; }};
}

model::MotionFrame sampleFrame(float t) {
    model::MotionFrame f{};
    f[model::kFrameTime] = t;
    for (std::size_t i = 1; i < f.size(); ++i) {
        f[i] = t * static_cast<float>(i) + 0.25f * static_cast<float>(i);
    }
    f[model::kFrameKeyCommand] = 0.0f;
    f[model::kFrameRoll] = 0.0f;
    f[model::kFramePitch] = 0.0f;
    f[model::kFrameYaw] = 10.0f * t;
    return f;
}

model::GeometryIntake MeshRecorder::intake() {
    return {[this] {
                faces.clear();
                ++clears;
            },
            [this](const std::array<double, 12>& face) {
                faces.push_back(face);
                return static_cast<int>(faces.size()) < acceptLimit ? 1 : 0;
            }};
}

} // namespace kv::filetest
