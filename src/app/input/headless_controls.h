#pragma once
/// Controllers of a run without a window: a control script played by time, or
/// the controller fields of a recorded take played frame by frame. Interactive
/// objects of a project replay their own recorded controls in both.

#include "app/input/controls_csv.h"
#include "app/input/input_device.h"
#include "common/ports/messages.h"
#include "model/motion_frame.h"
#include "model/motion_store.h"
#include "simulation/controls_port.h"

#include <cstddef>
#include <deque>
#include <vector>

namespace kv::app {

/// The raw control record a frame record's controller fields (1 to 5) were
/// copied from.
sim::ControlRecord controlsOfFrame(const model::MotionFrame& frame);

/// Script rows take effect on the frame whose clock time is at most this much
/// (s) before theirs, so that a row at 1.0 s falls on the frame at 1.0 s although
/// single-precision frame periods do not add up to whole seconds exactly.
inline constexpr double kScriptTimeTolerance = 1e-6;

/// Frames a run of `seconds` takes at `framePeriod` (s): the frame whose clock
/// time reaches `seconds` is the last; at least one.
int framesForDuration(double seconds, float framePeriod);

/// Shared by both controllers: playback of the stored motion of the objects
/// that replay their recorded controls (slots after the first).
class HeadlessControls : public sim::ControlsPort {
  public:
    /// `store` holds each object's stored motion at its object index (none:
    /// such objects get zero controls); `framePeriod` (s) is the run's.
    HeadlessControls(model::MotionStore* store, float framePeriod, MessagePort& messages)
        : store_(store), framePeriod_(framePeriod), messages_(messages) {}

    void playbackControls(int objectIndex, float time, sim::ControlRecord& out) override;

  protected:
    float framePeriod() const { return framePeriod_; }

  private:
    model::MotionStore* store_;
    float framePeriod_;
    MessagePort& messages_;
};

/// Plays a control script against the run's clock: frame k (from 0) reads the
/// rows up to (k + 1) frame periods. The stick and buttons are the controller
/// reading itself (no dead zone or sensitivity, which belong to a physical
/// device); the reverse flags and the camera control apply as for the mouse or
/// joystick. Keys go through `input`'s pending key, one a frame in script
/// order, so letter keys become command codes and the scene takes the others.
class ScriptControls final : public HeadlessControls {
  public:
    ScriptControls(const ControlScript& script, const ControllerSettings& settings,
                   InputState& input, model::MotionStore* store, float framePeriod,
                   MessagePort& messages);

    void readControls(const sim::CameraRecord& camera, sim::ControlRecord& vehicle,
                      sim::ControlRecord& cameraControls) override;

  private:
    struct PendingKey {
        int key;
        bool alt;
    };
    const ControlScript& script_;
    ControllerSettings settings_;
    InputState& input_;
    std::size_t next_ = 0; ///< first row not yet taken
    ControlRow held_;      ///< stick and buttons in effect
    std::deque<PendingKey> keys_;
    long long frame_ = 0; ///< frames read so far
};

/// Feeds the controller fields of recorded frames, one a frame: frame k of the
/// run gets frame k's stick, buttons and command code. Past the recording the
/// last stick and buttons hold and no command is given.
class ReplayControls final : public HeadlessControls {
  public:
    ReplayControls(std::vector<model::MotionFrame> frames, model::MotionStore* store,
                   float framePeriod, MessagePort& messages)
        : HeadlessControls(store, framePeriod, messages), frames_(std::move(frames)) {}

    void readControls(const sim::CameraRecord& camera, sim::ControlRecord& vehicle,
                      sim::ControlRecord& cameraControls) override;

    std::size_t frameCount() const { return frames_.size(); }

  private:
    std::vector<model::MotionFrame> frames_;
    std::size_t next_ = 0;
};

} // namespace kv::app
