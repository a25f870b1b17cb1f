#include "app/camera/scene_step.h"

#include "app/camera/camera_update.h"

#include <utility>

namespace kv::app {

Pose poseOfFrame(const model::MotionFrame& f) {
    Pose p;
    for (std::size_t i = 0; i < 3; ++i) {
        p.position[i] = f[static_cast<std::size_t>(model::kFrameNorth) + i];
        p.angles[i] = f[static_cast<std::size_t>(model::kFrameRoll) + i];
    }
    return p;
}

bool poseFromRun(const sim::RunState& run, int objectIndex, Pose& out) {
    for (int s = 0; s < run.slotCount && s < sim::kMaxSlots; ++s) {
        const sim::Slot& slot = run.slots[static_cast<std::size_t>(s)];
        if (slot.objectIndex == objectIndex) {
            out = poseOfFrame(slot.frame);
            return true;
        }
    }
    return false;
}

SceneKeyResult advanceScene(SceneState& scene, int& pendingKey, bool alt, int frameCounter,
                            bool runActive, const sim::ControlRecord& cameraControls,
                            sim::CameraRecord& camera, const PoseLookup& poses) {
    if (frameCounter == 0)
        scene.followed = followedOnFirstFrame(scene.followed, scene.objectCount, scene.observing);
    const SceneKeyResult key = consumeSceneKey(
        pendingKey, alt,
        {camera, scene.followed, scene.sunAngle, scene.objectCount, scene.observing});
    CameraStepInput in;
    in.frameCounter = frameCounter;
    in.time = camera.time;
    in.runActive = runActive;
    if (poses)
        in.object = poses(scene.followed);
    UpdateCamera(scene.settings, in, cameraControls, camera, scene.camera);
    return key;
}

sim::RunKey HeadlessScene::drawFrame(const sim::RunState& run, sim::CameraRecord& camera,
                                     const sim::ControlRecord& cameraControls) {
    const PoseLookup lookup = [&](int objectIndex) {
        Pose p;
        if (!poseFromRun(run, objectIndex, p) && others_)
            p = others_(objectIndex);
        return p;
    };
    ++frames_;
    return advanceScene(scene_, input_.pendingKey, input_.alt, run.frameCounter, true,
                        cameraControls, camera, lookup)
        .runKey;
}

} // namespace kv::app
