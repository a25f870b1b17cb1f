#include "app/document/headless_run.h"

#include "app/camera/camera_settings.h"
#include "app/camera/scene_step.h"
#include "app/render/scene_objects.h"
#include "common/simulated_clock.h"
#include "common/vecmath.h"

#include <algorithm>

namespace kv::app {

namespace {

/// Frames between two progress reports: often enough for a smooth bar, rarely
/// enough to cost nothing.
constexpr int kProgressEvery = 16;

} // namespace

sim::RunKey LimitedScene::drawFrame(const sim::RunState& run, sim::CameraRecord& camera,
                                    const sim::ControlRecord& cameraControls) {
    sim::RunKey key = inner_.drawFrame(run, camera, cameraControls);
    if (run.slotCount > 0) {
        topSpeed_ = std::max(topSpeed_, VecLength(run.slots[0].sim.state.velocity));
    }
    const int done = run.frameCounter + 1;
    const int limit = limits_.frames > 0 ? limits_.frames : kHeadlessFrameCeiling;
    if (limits_.interrupted && limits_.interrupted()) {
        end_ = HeadlessEnd::Interrupted;
        key = sim::RunKey::Escape;
    } else if (key == sim::RunKey::Escape) {
        end_ = HeadlessEnd::Escape;
    } else if (run.recording && !run.recordStatus) {
        end_ = HeadlessEnd::MemoryFull;
        key = sim::RunKey::Escape;
    } else if (done >= limit) {
        end_ = HeadlessEnd::FrameLimit;
        key = sim::RunKey::Escape;
    }
    if (limits_.progress != nullptr && done % kProgressEvery == 0) {
        // Without a frame limit the record memory is the measure of the run.
        const int whole = limits_.frames > 0 ? limits_.frames : recordCapacity_;
        if (whole > 0 && !limits_.progress->update(std::min(1.0, double(done) / double(whole))) &&
            key != sim::RunKey::Escape) {
            end_ = HeadlessEnd::Escape;
            key = sim::RunKey::Escape;
        }
    }
    return key;
}

HeadlessResult runHeadless(Document& document, sim::ControlsPort& controls, InputState& input,
                           const HeadlessLimits& limits, MessagePort& messages,
                           NoticePort* notices) {
    SceneState scene;
    scene.settings = cameraSettingsFrom(document.preferences());
    scene.objectCount = document.objectCount();
    scene.observing = document.state().observeMode != 0;
    scene.followed = document.state().cameraFollows;

    // Objects without a run slot stand where their stored motion has them.
    const PoseLookup others = [&document, &messages](int objectIndex) {
        const sim::RunState& run = document.run();
        if (run.slotCount < 1)
            return Pose{};
        return poseOfFrame(sceneFrameOf(document, run, objectIndex, run.slots[0].sim.frameTime,
                                        model::kFrameYaw + 1, messages));
    };
    HeadlessScene headless(scene, input, others);
    const sim::RunSettings settings = document.runSettings();
    LimitedScene limited(headless, limits, settings.recordCapacity);
    SimulatedClock clock;

    if (limits.progress != nullptr)
        limits.progress->start("Simulating");
    document.runSimulation(sim::RunPorts{clock, controls, limited, messages}, notices);
    if (limits.progress != nullptr)
        limits.progress->finish();

    HeadlessResult result;
    result.end = limited.end();
    result.frames = document.run().frameCounter;
    result.topSpeed = limited.topSpeed();
    return result;
}

} // namespace kv::app
