#include "app/input/input_script.h"

namespace kv::app {

void ScriptedDeviceSource::sample(DeviceState& devices) {
    if (frames_.empty()) {
        devices = DeviceState{};
        return;
    }
    if (next_ < frames_.size()) {
        devices = frames_[next_];
    } else {
        devices = frames_.back();
        devices.event = InputEvent{};
    }
    ++next_;
}

} // namespace kv::app
