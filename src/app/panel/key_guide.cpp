#include "app/panel/key_guide.h"

#include "app/camera/camera_state.h"

namespace kv::app {

PanelKey modeKey(int mode) {
    switch (mode) {
    case kModeRoam:
    case kModeRoamPan:
        return PanelKey::F2;
    case kModeChase:
    case kModeChasePan:
        return PanelKey::F4;
    case kModeCockpit:
        return PanelKey::F1;
    case kModeAttached:
    case kModeAttachedPan:
        return PanelKey::F3;
    case kModeExternal:
    case kModeExternalLagged:
        return PanelKey::F6;
    default:
        return PanelKey::F5;
    }
}

KeyLight modeLight(int mode) {
    switch (mode) {
    case kModeRoamPan:
    case kModeChasePan:
    case kModeAttachedPan:
    case kModeExternalLagged:
    case kModeTvDolly:
        return KeyLight::Blue;
    default:
        return KeyLight::Green;
    }
}

bool switchKeyLit(PanelKey key, const PanelInput& in) {
    const PanelReadings& r = in.readings;
    switch (key) {
    case PanelKey::F12:
        return in.cameraControl;
    case PanelKey::Q:
        return r.cruise;
    case PanelKey::B:
        return r.brakeHold;
    case PanelKey::R:
        return r.transmission < 0;
    case PanelKey::G:
        return r.gearDown;
    case PanelKey::F:
        return r.flaps > 0.0f;
    default:
        return false;
    }
}

bool PauseBlink::update(bool paused, double now) {
    if (!paused) {
        lit_ = false;
        return lit_;
    }
    if (now - lastFlip_ > kBlinkPeriod) {
        lit_ = !lit_;
        lastFlip_ = now;
    }
    return lit_;
}

} // namespace kv::app
