#pragma once
// Shared set-up of the camera tests: settings with round numbers and a
// stepping helper.

#include "app/camera/camera_settings.h"
#include "app/camera/camera_state.h"
#include "app/camera/camera_update.h"
#include "simulation/camera_record.h"
#include "simulation/control_record.h"

namespace kv::app::test {

inline CameraSettings roundSettings() {
    CameraSettings s;
    s.dt = 0.1f;
    s.lag = 0.5f;
    s.maxVelocity = 10.0f;
    s.maxAngularRate = 30.0f;
    s.drag = 3.0f;
    s.jitterOn = false;
    s.bounceOn = false;
    return s;
}

/// A camera with its own state, stepped frame by frame against an object pose.
struct CameraRig {
    CameraSettings settings = roundSettings();
    sim::CameraRecord record;
    CameraState state;
    Pose object;
    int frame = 0;
    bool run = true;

    void step(const sim::ControlRecord& controls = {}) {
        CameraStepInput in;
        in.frameCounter = frame;
        in.time = static_cast<float>(frame) * settings.dt;
        in.runActive = run;
        in.object = object;
        UpdateCamera(settings, in, controls, record, state);
        ++frame;
    }
};

inline sim::ControlRecord buttons(int a, int b, float x = 0.0f, float y = 0.0f) {
    sim::ControlRecord c;
    c.buttonA = a;
    c.buttonB = b;
    c.stickX = x;
    c.stickY = y;
    return c;
}

} // namespace kv::app::test
