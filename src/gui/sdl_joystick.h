#pragma once
/// Joystick 0 through SDL2: a game controller when SDL knows the device's
/// mapping (left stick, buttons A and B), else the raw joystick (axes 0 and 1,
/// buttons 0 and 1). It fills only the joystick part of a device sample.

#include "app/input/input_controls.h"

#include <memory>

namespace kv::gui {

class SdlJoystick final : public app::DeviceSource {
  public:
    /// Starts SDL's joystick subsystem; without SDL2 or a device every read fails.
    SdlJoystick();
    ~SdlJoystick() override;
    SdlJoystick(const SdlJoystick&) = delete;
    SdlJoystick& operator=(const SdlJoystick&) = delete;

    /// Whether joystick 0 gives a position now (opening it if it was plugged in since).
    bool present();

    /// Axis range and the current position and buttons of joystick 0;
    /// `joystickValid` is false when no joystick answers.
    void sample(app::DeviceState& devices) override;

  private:
    struct Device;
    std::unique_ptr<Device> device_;
    bool started_ = false;
};

} // namespace kv::gui
