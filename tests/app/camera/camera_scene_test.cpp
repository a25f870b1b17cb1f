// The camera and the controller driven through the run loop's ports: a
// scripted live run, as the command-line tool and the desktop run it.

#include "app/camera/camera_math.h"
#include "app/camera/scene_step.h"
#include "app/input/input_controls.h"
#include "app/input/input_script.h"
#include "common/simulated_clock.h"
#include "model/object_model.h"
#include "simulation/run_simulation.h"
#include "support/fake_ports.h"

#include <cmath>
#include <gtest/gtest.h>
#include <vector>

namespace kv::app {
namespace {

model::ObjectRecord standingBody() {
    model::ObjectRecord r;
    model::resetObject(r);
    r.mass.mass = 100.0f;
    r.mass.inertia = {1000.0f, 0.0f, 0.0f, 0.0f, 3000.0f, 0.0f, 0.0f, 0.0f, 3500.0f};
    r.initial.position = {0.0f, 0.0f, -100.0f};
    r.role = model::kRoleStatic;
    return r;
}

DeviceState mouseAt(float x, float y) {
    DeviceState d;
    d.windowWidth = 400.0f;
    d.windowHeight = 300.0f;
    d.cursorX = x;
    d.cursorY = y;
    return d;
}

TEST(CameraScene, ScriptedLiveRunRecordsEveryFrameAndTheCamera) {
    std::vector<DeviceState> script(150, mouseAt(300.0f, 150.0f));
    script[0].event = {InputEventKind::KeyDown, kKeyF6};
    script[10].event = {InputEventKind::KeyDown, 'B'};
    script[20].event = {InputEventKind::KeyDown, 'T'};
    script[149].event = {InputEventKind::KeyDown, kKeyEscape};
    ScriptedDeviceSource source(script);
    ControllerSettings controller;
    controller.deadzone = 0.0f;
    DeviceControls controls(source, controller);
    controls.begin();

    SceneState sceneState;
    sceneState.settings.dt = 1.0f / 30.0f;
    sceneState.camera.orbitDistance = 15.0f;
    sceneState.camera.orbitElevation = -20.0f;
    HeadlessScene scene(sceneState, controls.state());

    SimulatedClock clock;
    test::RecordingMessages messages;
    sim::RunState run;
    sim::RunSettings settings = sim::makeRunSettings(sim::Accuracy::Better, 30, 400);
    std::vector<model::ObjectRecord> objects{standingBody()};
    sim::CameraRecord camera;
    sim::RunSimulation(run, settings, objects, camera,
                       sim::RunPorts{clock, controls, scene, messages, nullptr});

    EXPECT_EQ(scene.framesDrawn(), 150);
    EXPECT_EQ(source.framesRead(), 150u);
    const auto& cameraChannel = run.channels.channels[sim::kCameraChannel];
    ASSERT_EQ(cameraChannel.count, 150);
    EXPECT_EQ(run.channels.channels[0].count, 150);
    EXPECT_EQ(camera.mode, kModeExternal);
    EXPECT_FLOAT_EQ(sceneState.sunAngle, 105.0f);
    // The vehicle received the stick; the camera nothing.
    EXPECT_FLOAT_EQ(run.slots[0].raw.stickX, 0.5f);
    EXPECT_EQ(run.cameraControls.stickX, 0.0f);

    // Each recorded camera frame orbits the object at the chosen distance and
    // carries the run time.
    const Vec3 object{0.0f, 0.0f, -100.0f * 0.3048037f};
    for (int f : {1, 75, 149}) {
        const auto& frame = cameraChannel.frames[static_cast<std::size_t>(f)];
        const Vec3 p{frame[model::kFrameNorth], frame[model::kFrameNorth + 1],
                     frame[model::kFrameNorth + 2]};
        EXPECT_NEAR(VecLength(Vec3{p[0] - object[0], p[1] - object[1], p[2] - object[2]}), 15.0f,
                    1e-3f);
        EXPECT_NEAR(frame[model::kFrameTime], static_cast<float>(f + 1) / 30.0f, 1e-4f);
        const Vec3 aim = aimAngles(p, object);
        EXPECT_NEAR(frame[model::kFrameRoll + 2], aim[2], 1e-3f);
        EXPECT_NEAR(frame[model::kFrameRoll + 1], aim[1], 1e-3f);
    }
}

TEST(CameraScene, FirstFrameMovesTheFollowedObjectOffObjectZeroWhenObserving) {
    SceneState scene;
    scene.objectCount = 3;
    scene.observing = true;
    scene.camera.lastMode = kModeCockpit;
    sim::CameraRecord camera;
    camera.mode = kModeCockpit;
    int pending = kKeyF11;
    const PoseLookup poses = [](int k) {
        return Pose{{static_cast<float>(10 * k), 0, 0}, {0, 0, static_cast<float>(k)}};
    };
    const SceneKeyResult r = advanceScene(scene, pending, false, 0, true, {}, camera, poses);
    EXPECT_TRUE(r.followedChanged);
    EXPECT_EQ(scene.followed, 2);
    EXPECT_EQ(camera.position[0], 20.0f);
    EXPECT_EQ(camera.angles[2], 2.0f);
}

} // namespace
} // namespace kv::app
