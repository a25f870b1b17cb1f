#pragma once
/// Where the scene shows each object in a frame, for the camera view and for
/// the command-line tool's camera alike.

#include "app/document/document.h"
#include "common/ports/messages.h"
#include "model/motion_frame.h"
#include "simulation/run_state.h"

namespace kv::app {

/// The frame record of object `objectIndex` as the scene shows it at `time`
/// (s): its run slot's frame when it has one; else its stored motion
/// interpolated at `time` (the first `fieldCount` fields; the time field is
/// `time`); else standing at its initial position (m) and attitude (deg).
model::MotionFrame sceneFrameOf(Document& document, const sim::RunState& run, int objectIndex,
                                float time, int fieldCount, MessagePort& messages);

} // namespace kv::app
