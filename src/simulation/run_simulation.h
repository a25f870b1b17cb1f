#pragma once
/// The simulation run loop: the body of Simulation > Begin.

#include "common/ports/clock.h"
#include "common/ports/messages.h"
#include "model/object_record.h"
#include "simulation/camera_record.h"
#include "simulation/collision/collision_pair.h"
#include "simulation/controls_port.h"
#include "simulation/run_settings.h"
#include "simulation/run_state.h"
#include "simulation/scene_port.h"

#include <functional>
#include <span>

namespace kv::sim {

/// The outside world of a run.
struct RunPorts {
    ClockPort& clock;
    ControlsPort& controls;
    ScenePort& scene;
    MessagePort& messages;
    CollisionPair* collision = nullptr; ///< none: the pair is never tested
    /// Called once after the reset, before the first frame, so the caller can
    /// tell the user what the reset did (objects raised onto the ground).
    std::function<void(const RunState&)> afterReset{};
};

inline constexpr const char* kNotRecordedMessage =
    "The animation was not recorded because no record memory has been allocated.";

/// The message shown when a record channel filled up during the run.
std::string truncatedRecordingMessage(int capacity, float framePeriod);

/// Runs frames until the stop flag is set (ESC, an instability), recording one
/// frame per slot and one for the camera each frame, then reports what was not
/// recorded. `objects` are the project's objects in use, the camera excluded;
/// `camera` is the pose the scene moves.
void RunSimulation(RunState& run, const RunSettings& settings,
                   std::span<model::ObjectRecord> objects, CameraRecord& camera,
                   const RunPorts& ports);

} // namespace kv::sim
