#pragma once
/// Filling the recorded frame of a simulated object or of the camera.

#include "common/unit_constants.h"
#include "model/motion_frame.h"
#include "simulation/camera_record.h"
#include "simulation/control_record.h"
#include "simulation/sim_object.h"

namespace kv::sim {

/// Writes every field of `frame` from `obj` except the raw controls (fields 1 to
/// 5), which the run loop copies from the controller each frame.
void fillFrameRecord(const SimObject& obj, model::MotionFrame& frame);

/// Copies raw controls into fields 1 to 5: horizontal axis, vertical axis, first
/// button, second button, key command code.
void copyControlsToFrame(const ControlRecord& controls, model::MotionFrame& frame);

/// Writes the camera's time, position and angles into its frame.
void fillCameraFrame(const CameraRecord& camera, float time, model::MotionFrame& frame);

} // namespace kv::sim
