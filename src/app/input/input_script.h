#pragma once
/// A device source that plays a list of per-frame device states, for the
/// command-line tool's control scripts and for tests.

#include "app/input/input_controls.h"

#include <cstddef>
#include <utility>
#include <vector>

namespace kv::app {

class ScriptedDeviceSource final : public DeviceSource {
  public:
    explicit ScriptedDeviceSource(std::vector<DeviceState> frames) : frames_(std::move(frames)) {}

    /// Frame n of the script; past its end the last frame is held, without
    /// repeating its window event.
    void sample(DeviceState& devices) override;

    std::size_t framesRead() const { return next_; }

  private:
    std::vector<DeviceState> frames_;
    std::size_t next_ = 0;
};

} // namespace kv::app
