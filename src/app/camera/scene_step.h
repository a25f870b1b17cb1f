#pragma once
/// The scene draw's steps that need no graphics: the first-frame check of the
/// followed object, the stored key, and the camera update. The camera view runs
/// them before drawing; the command-line tool's scene runs them alone.

#include "app/camera/camera_keys.h"
#include "app/camera/camera_settings.h"
#include "app/camera/camera_state.h"
#include "app/input/input_device.h"
#include "app/render/render_light.h"
#include "model/motion_frame.h"
#include "simulation/camera_record.h"
#include "simulation/control_record.h"
#include "simulation/run_state.h"
#include "simulation/scene_port.h"

#include <functional>

namespace kv::app {

/// The pose (scene units, degrees) of object `objectIndex` for this frame.
using PoseLookup = std::function<Pose(int objectIndex)>;

/// Everything the scene keeps between frames apart from the graphics.
struct SceneState {
    CameraSettings settings;
    CameraState camera;
    int followed = 0;                ///< index of the followed object
    float sunAngle = kSunStartAngle; ///< deg
    int objectCount = 1;
    bool observing = false; ///< object 0 is neither drawn nor followed
};

/// Pose of a frame record: position (m) and roll, pitch, yaw (deg).
Pose poseOfFrame(const model::MotionFrame& frame);
/// The pose of `objectIndex` from its run slot; false when it has no slot.
bool poseFromRun(const sim::RunState& run, int objectIndex, Pose& out);

/// Runs the first-frame check, consumes `pendingKey` and moves the camera
/// after the followed object. `runActive` is false for a redraw outside a run.
SceneKeyResult advanceScene(SceneState& scene, int& pendingKey, bool alt, int frameCounter,
                            bool runActive, const sim::ControlRecord& cameraControls,
                            sim::CameraRecord& camera, const PoseLookup& poses);

/// A scene that draws nothing: the command-line tool's scene port, and the
/// core of the desktop's. Keys come from the controller's pending key.
class HeadlessScene : public sim::ScenePort {
  public:
    /// `others` poses objects that have no run slot (from their stored motion);
    /// without it they stand at the origin.
    HeadlessScene(SceneState& scene, InputState& input, PoseLookup others = {})
        : scene_(scene), input_(input), others_(std::move(others)) {}

    sim::RunKey drawFrame(const sim::RunState& run, sim::CameraRecord& camera,
                          const sim::ControlRecord& cameraControls) override;

    /// Frames drawn since construction.
    int framesDrawn() const { return frames_; }

  private:
    SceneState& scene_;
    InputState& input_;
    PoseLookup others_;
    int frames_ = 0;
};

} // namespace kv::app
