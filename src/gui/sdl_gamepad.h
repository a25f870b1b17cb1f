#pragma once
/// A gamepad through SDL2's game-controller layer and the mapping database
/// that ships with SDL, so that the sticks, triggers and buttons have the same
/// names on an Xbox, PlayStation or other known pad. A run takes the first
/// pad connected when it starts; one unplugged during the run reads as not
/// connected (the stick centred) until the next run.

#include "app/input/input_controls.h"

#include <memory>
#include <string>

namespace kv::gui {

class SdlGamepad final : public app::DeviceSource {
  public:
    /// Starts SDL's game-controller subsystem; without SDL2 no pad is ever found.
    SdlGamepad();
    ~SdlGamepad() override;
    SdlGamepad(const SdlGamepad&) = delete;
    SdlGamepad& operator=(const SdlGamepad&) = delete;

    /// Opens the first connected pad whose mapping SDL knows, closing any
    /// opened before (a run calls it at its start). False when none is connected.
    bool open();
    void close();

    /// SDL's name of the first connected pad, empty when there is none.
    std::string connectedName();

    /// The opened pad's sticks, triggers and buttons into `devices.gamepad`
    /// (not connected when none was opened or it was unplugged since).
    void sample(app::DeviceState& devices) override;

  private:
    struct Device;
    std::unique_ptr<Device> device_;
    bool started_ = false;
};

} // namespace kv::gui
