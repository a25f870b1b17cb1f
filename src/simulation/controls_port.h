#pragma once
/// Port: the controller. The desktop reads the mouse, keyboard and joystick; the
/// command-line tool a script; tests a scripted sequence.

#include "simulation/camera_record.h"
#include "simulation/control_record.h"

namespace kv::sim {

class ControlsPort {
  public:
    virtual ~ControlsPort() = default;
    /// Fills the simulated object's raw controls and the camera control record
    /// for this frame.
    virtual void readControls(const CameraRecord& camera, ControlRecord& vehicle,
                              ControlRecord& cameraControls) = 0;
    /// The recorded raw controls of object `objectIndex` at run time `time`
    /// (s), for slots that replay their inputs. None recorded: all zero.
    virtual void playbackControls(int /*objectIndex*/, float /*time*/, ControlRecord& out) {
        out = ControlRecord{};
    }
};

/// No controller: every record stays zero.
class NullControls final : public ControlsPort {
  public:
    void readControls(const CameraRecord&, ControlRecord& vehicle,
                      ControlRecord& cameraControls) override {
        vehicle = ControlRecord{};
        cameraControls = ControlRecord{};
    }
};

} // namespace kv::sim
