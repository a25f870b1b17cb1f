#include "app/input/headless_controls.h"

#include "app/input/input_controls.h"
#include "model/motion_playback.h"

#include <algorithm>
#include <cmath>

namespace kv::app {

sim::ControlRecord controlsOfFrame(const model::MotionFrame& f) {
    // The integer fields were stored as floats of small whole numbers; a
    // damaged value far outside any code reads as none.
    const auto whole = [](float v) {
        if (!std::isfinite(v) || std::fabs(v) > 1.0e6f)
            return 0;
        return static_cast<int>(std::lround(v));
    };
    const auto axis = [](float v) { return std::isfinite(v) ? std::clamp(v, -1.0f, 1.0f) : 0.0f; };
    sim::ControlRecord r;
    r.stickX = axis(f[model::kFrameStickX]);
    r.stickY = axis(f[model::kFrameStickY]);
    r.buttonA = whole(f[model::kFrameButtonA]);
    r.buttonB = whole(f[model::kFrameButtonB]);
    r.command = whole(f[model::kFrameKeyCommand]);
    return r;
}

int framesForDuration(double seconds, float framePeriod) {
    const double period = static_cast<double>(framePeriod);
    if (!(period > 0.0) || !(seconds > 0.0))
        return 1;
    const double frames = std::ceil((seconds - kScriptTimeTolerance) / period);
    return static_cast<int>(std::clamp(frames, 1.0, 2.0e9));
}

void HeadlessControls::playbackControls(int objectIndex, float time, sim::ControlRecord& out) {
    out = sim::ControlRecord{};
    if (store_ == nullptr || !store_->validSlot(objectIndex) || store_->lastFrame(objectIndex) < 1)
        return;
    model::MotionFrame frame{};
    model::interpolateMotion(*store_, objectIndex, model::kFrameKeyCommand + 1, time, framePeriod_,
                             frame, messages_);
    out = controlsOfFrame(frame);
}

ScriptControls::ScriptControls(const ControlScript& script, const ControllerSettings& settings,
                               InputState& input, model::MotionStore* store, float framePeriod,
                               MessagePort& messages)
    : HeadlessControls(store, framePeriod, messages), script_(script), settings_(settings),
      input_(input) {}

void ScriptControls::readControls(const sim::CameraRecord& camera, sim::ControlRecord& vehicle,
                                  sim::ControlRecord& cameraControls) {
    ++frame_;
    const double now = static_cast<double>(frame_) * static_cast<double>(framePeriod());
    while (next_ < script_.rows.size() && script_.rows[next_].time <= now + kScriptTimeTolerance) {
        held_ = script_.rows[next_];
        if (held_.key != kKeyNone)
            keys_.push_back({held_.key, held_.alt});
        ++next_;
    }
    input_.alt = false;
    if (input_.pendingKey == kKeyNone && !keys_.empty()) {
        input_.pendingKey = keys_.front().key;
        input_.alt = keys_.front().alt;
        keys_.pop_front();
    }
    StickReading reading;
    reading.x = held_.x;
    reading.y = held_.y;
    reading.buttonA = held_.buttonA;
    reading.buttonB = held_.buttonB;
    distributeControls(reading, settings_, camera.cameraControl != 0, input_.pendingKey, vehicle,
                       cameraControls);
}

void ReplayControls::readControls(const sim::CameraRecord&, sim::ControlRecord& vehicle,
                                  sim::ControlRecord& cameraControls) {
    cameraControls = sim::ControlRecord{};
    if (frames_.empty()) {
        vehicle = sim::ControlRecord{};
        return;
    }
    if (next_ < frames_.size()) {
        vehicle = controlsOfFrame(frames_[next_]);
        ++next_;
        return;
    }
    vehicle = controlsOfFrame(frames_.back());
    vehicle.command = 0;
}

} // namespace kv::app
