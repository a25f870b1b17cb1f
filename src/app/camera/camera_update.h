#pragma once
/// One step of the virtual camera, run once per displayed frame.

#include "app/camera/camera_settings.h"
#include "app/camera/camera_state.h"
#include "simulation/camera_record.h"
#include "simulation/control_record.h"

namespace kv::app {

/// Moves the camera one frame: the mode's pose from the followed object and the
/// camera control record, then jitter, bounce and the end-of-step bookkeeping.
/// Writes position, angles and time of `record`; reads its mode.
void UpdateCamera(const CameraSettings& settings, const CameraStepInput& input,
                  const sim::ControlRecord& controls, sim::CameraRecord& record,
                  CameraState& state);

} // namespace kv::app
