#pragma once
// Fakes of the core's ports for tests: they record what the core asked and
// replay scripted answers.

#include "common/ports/messages.h"
#include "common/simulated_clock.h"
#include "simulation/controls_port.h"
#include "simulation/scene_port.h"

#include <map>
#include <string>
#include <vector>

namespace kv::test {

/// Keeps every message shown, in order.
class RecordingMessages final : public MessagePort {
  public:
    void showMessage(std::string_view text) override { messages.emplace_back(text); }
    std::vector<std::string> messages;
};

/// Hands out one scripted vehicle record per frame (the last one repeats; none
/// scripted: all zero) and counts the reads.
class ScriptedControls final : public sim::ControlsPort {
  public:
    void readControls(const sim::CameraRecord& camera, sim::ControlRecord& vehicle,
                      sim::ControlRecord& cameraControls) override;
    void playbackControls(int objectIndex, float time, sim::ControlRecord& out) override;

    std::vector<sim::ControlRecord> script;
    sim::ControlRecord playback; ///< what every playback request returns
    int reads = 0;
    int playbacks = 0;
};

/// Draws nothing; presses the scripted key of each frame (by 0-based frame
/// number), and, when a clock is given, spends `workSeconds` of it per frame.
class ScriptedScene final : public sim::ScenePort {
  public:
    sim::RunKey drawFrame(const sim::RunState& run, sim::CameraRecord& camera,
                          const sim::ControlRecord& cameraControls) override;
    void updateInstruments(const sim::RunState& run) override;

    std::map<int, sim::RunKey> keys;
    /// Key pressed on every frame from this one on (ends runs that would loop).
    int escapeFrom = 1000000;
    SimulatedClock* clock = nullptr;
    double workSeconds = 0.0;
    Vec3 cameraPosition{}; ///< where the scene puts the camera each frame (m)

    int draws = 0;
    int instrumentUpdates = 0;
    std::vector<bool> lateFlags;  ///< late flag seen at each draw
    std::vector<bool> pauseFlags; ///< pause flag seen at each draw
};

} // namespace kv::test
