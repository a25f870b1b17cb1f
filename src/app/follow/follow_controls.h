#pragma once
/// The controls port of a followed run: the path follower takes the vehicle's
/// stick, buttons and letter-key commands where a person's controller would
/// give them; everything else (the camera's controls, P, ESC and the camera
/// keys, the other objects' recorded controls) comes from the wrapped port.
/// When the follower is done it presses ESC, so the run ends as a person's would.

#include "app/follow/path_follower.h"
#include "app/input/input_device.h"
#include "simulation/controls_port.h"
#include "simulation/run_state.h"

namespace kv::app {

/// What the follower sees of run slot 0 at the start of a frame.
FollowerView followerViewOf(const sim::Slot& slot);

class FollowControls final : public sim::ControlsPort {
  public:
    /// `run` is the document's run state (read each frame), `inner` the port
    /// of the person's devices or of a script, `input` its pending keys.
    FollowControls(PathFollower& follower, const sim::RunState& run, sim::ControlsPort& inner,
                   InputState& input)
        : follower_(follower), run_(run), inner_(inner), input_(input) {}

    void readControls(const sim::CameraRecord& camera, sim::ControlRecord& vehicle,
                      sim::ControlRecord& cameraControls) override;
    void playbackControls(int objectIndex, float time, sim::ControlRecord& out) override {
        inner_.playbackControls(objectIndex, time, out);
    }

  private:
    PathFollower& follower_;
    const sim::RunState& run_;
    sim::ControlsPort& inner_;
    InputState& input_;
    bool escapeSent_ = false;
};

} // namespace kv::app
