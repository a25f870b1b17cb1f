#pragma once
/// Port: the scene. The desktop draws the camera view and the instrument panel;
/// the command-line tool draws nothing and takes keys from a script.

#include "simulation/camera_record.h"
#include "simulation/run_flags.h"
#include "simulation/run_state.h"

namespace kv::sim {

class ScenePort {
  public:
    virtual ~ScenePort() = default;
    /// Draws one frame of `run`, moves `camera` by `cameraControls` and returns
    /// the run key pressed since the last frame (the scene applies the camera
    /// keys itself).
    virtual RunKey drawFrame(const RunState& run, CameraRecord& camera,
                             const ControlRecord& cameraControls) = 0;
    /// Refreshes the instrument panel after a frame was drawn.
    virtual void updateInstruments(const RunState& /*run*/) {}
};

} // namespace kv::sim
