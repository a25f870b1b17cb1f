#pragma once
// Hand-filled object records for the simulation tests.

#include "model/object_model.h"
#include "model/object_record.h"

namespace kv::test {

/// A 100 slug rigid body with a diagonal inertia and no effectors, at
/// `altitude` ft with the given initial attitude (deg).
inline model::ObjectRecord freeBody(float altitude = 100.0f, float roll = 0.0f, float pitch = 0.0f,
                                    float yaw = 0.0f) {
    model::ObjectRecord r;
    model::resetObject(r);
    model::setRecordName(r.name, "Body");
    r.mass.mass = 100.0f;
    r.mass.inertia = {1000.0f, 0.0f, 0.0f, 0.0f, 3000.0f, 0.0f, 0.0f, 0.0f, 3500.0f};
    r.initial.position = {0.0f, 0.0f, -altitude};
    r.initial.attitude = {roll, pitch, yaw};
    return r;
}

} // namespace kv::test
