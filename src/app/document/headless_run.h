#pragma once
/// A run of the document's simulation without a window, as fast as the machine
/// allows: a simulated clock, a scene that draws nothing, and an end at a given
/// frame count or when the record memory is full, besides ESC and an
/// instability. The command-line tool and the benchmarks run through it.

#include "app/document/document.h"
#include "app/input/input_device.h"
#include "common/ports/messages.h"
#include "common/ports/notices.h"
#include "common/ports/progress.h"
#include "simulation/controls_port.h"
#include "simulation/scene_port.h"

#include <functional>

namespace kv::app {

/// Why a headless run ended.
enum class HeadlessEnd {
    Escape,     ///< ESC from the controller
    FrameLimit, ///< the frame count asked for was reached (as if ESC were pressed)
    MemoryFull, ///< a record channel filled up
    Stopped,    ///< the physics stopped the run (an instability)
    Interrupted ///< a request from outside the program (a signal) ended it, as ESC would
};

/// Frames a run without a frame limit may take at most, paused ones included,
/// so that a controller that pauses and never resumes cannot hold it forever.
inline constexpr int kHeadlessFrameCeiling = 10'000'000;

struct HeadlessLimits {
    int frames = 0;                   ///< frames to run; 0: no limit
    ProgressPort* progress = nullptr; ///< told the share of the frames run; none: silent
    /// Asked at every frame; true ends the run there as ESC would. None: never.
    std::function<bool()> interrupted;
};

struct HeadlessResult {
    HeadlessEnd end = HeadlessEnd::Stopped;
    int frames = 0;        ///< frames run, paused ones included
    float topSpeed = 0.0f; ///< highest speed of the simulated object at a frame end (ft/s)
};

/// Wraps the scene of a headless run: ends the run at the frame limit or when
/// the record memory is full, reports progress and keeps the top speed.
class LimitedScene final : public sim::ScenePort {
  public:
    LimitedScene(sim::ScenePort& inner, const HeadlessLimits& limits, int recordCapacity)
        : inner_(inner), limits_(limits), recordCapacity_(recordCapacity) {}

    sim::RunKey drawFrame(const sim::RunState& run, sim::CameraRecord& camera,
                          const sim::ControlRecord& cameraControls) override;
    void updateInstruments(const sim::RunState& run) override { inner_.updateInstruments(run); }

    HeadlessEnd end() const { return end_; }
    float topSpeed() const { return topSpeed_; }

  private:
    sim::ScenePort& inner_;
    HeadlessLimits limits_;
    int recordCapacity_;
    HeadlessEnd end_ = HeadlessEnd::Stopped;
    float topSpeed_ = 0.0f;
};

/// Runs the document's simulation (Simulation > Begin) with `controls`, whose
/// pending keys and Alt state are `input`'s, until it ends. Messages of the
/// run go to `messages`, its notices (a vehicle placed on the ground) to
/// `notices` when given.
HeadlessResult runHeadless(Document& document, sim::ControlsPort& controls, InputState& input,
                           const HeadlessLimits& limits, MessagePort& messages,
                           NoticePort* notices = nullptr);

} // namespace kv::app
