#pragma once
/// The state of the simulation run loop: slots, flags and record channels.

#include "model/motion_frame.h"
#include "simulation/control_block.h"
#include "simulation/control_record.h"
#include "simulation/pilot/pilot_step.h"
#include "simulation/pilot/sensors.h"
#include "simulation/record_channels.h"
#include "simulation/run_flags.h"
#include "simulation/sim_object.h"
#include "simulation/trim/start_trim.h"

#include <array>

namespace kv::sim {

/// Slots of a run: the simulated object and at most one interactive object.
inline constexpr int kMaxSlots = 2;

/// One simulated object of the run.
struct Slot {
    int objectIndex = -1; ///< index of the simulated object in the object table
    SimObject sim;
    model::MotionFrame frame{}; ///< frame record of the current frame
    ControlRecord raw;          ///< raw controls of the current frame
    SensorRecord sensors;
    CommandRecord command;
    AutopilotState autopilot;
    StartTrim trim;       ///< how the reset trimmed this slot's start
    /// How far (ft) the reset raised the object because it started inside the
    /// ground; 0 when it started on or above it.
    float startLift = 0.0f;
    bool stepped = false; ///< has been through at least one frame of the run
};

struct RunState {
    RunFlags flags;
    int slotCount = 0;
    std::array<Slot, kMaxSlots> slots;
    model::MotionFrame cameraFrame{}; ///< frame record of the camera
    ControlRecord cameraControls;     ///< camera control record of the current frame
    RecordChannels channels;
    bool recording = false;   ///< the current or last run stores frames
    bool collisionOn = false; ///< the current run tests the collision pair
    int subSteps = 0;         ///< physics sub-steps per frame
    int frameCounter = 0;     ///< frames run so far
    bool recordStatus = true; ///< false once a store found its channel full
};

} // namespace kv::sim
