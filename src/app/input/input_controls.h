#pragma once
/// Distribution of a controller reading into the vehicle and camera control
/// records, the letter keys' command codes, and the controls port built on a
/// device source.

#include "app/input/input_device.h"
#include "simulation/camera_record.h"
#include "simulation/control_record.h"
#include "simulation/controls_port.h"

namespace kv::app {

/// The vehicle command code of a letter key (Q 1, C 3 ... R 13), or 0.
int commandCodeForKey(int key);

/// Second half of a controller read. With camera control the camera receives
/// the stick and buttons and the vehicle zeros; otherwise the reverse. A letter
/// key pending always goes to the vehicle as its command code and is consumed;
/// other keys stay pending for the scene.
void distributeControls(const StickReading& reading, const ControllerSettings& settings,
                        bool cameraControl, int& pendingKey, sim::ControlRecord& vehicle,
                        sim::ControlRecord& camera);

/// Samples the devices once a frame: the desktop from Qt and SDL2, the
/// command-line tool from a control script, tests from a table.
class DeviceSource {
  public:
    virtual ~DeviceSource() = default;
    virtual void sample(DeviceState& devices) = 0;
};

/// The simulation's controls port on a device source.
class DeviceControls final : public sim::ControlsPort {
  public:
    DeviceControls(DeviceSource& source, const ControllerSettings& settings)
        : source_(source), settings_(settings) {}

    /// Starts a read session (mouse buttons up); the run loop and the camera
    /// preview call it before their first frame.
    void begin() { BeginInput(state_); }
    void setSettings(const ControllerSettings& settings) { settings_ = settings; }

    void readControls(const sim::CameraRecord& camera, sim::ControlRecord& vehicle,
                      sim::ControlRecord& cameraControls) override;

    /// Pending key, Alt state and cursor for the scene and the view.
    InputState& state() { return state_; }
    const DeviceState& lastDevices() const { return devices_; }

  private:
    DeviceSource& source_;
    ControllerSettings settings_;
    InputState state_;
    DeviceState devices_;
};

} // namespace kv::app
