#include "app/camera/camera_keys.h"

#include "app/camera/camera_state.h"
#include "app/input/input_keys.h"
#include "common/vecmath.h"

namespace kv::app {

int cameraModeForKey(int key, bool alt) {
    switch (key) {
    case kKeyF1:
        return kModeCockpit;
    case kKeyF2:
        return alt ? kModeRoamPan : kModeRoam;
    case kKeyF3:
        return alt ? kModeAttachedPan : kModeAttached;
    case kKeyF4:
        return alt ? kModeChasePan : kModeChase;
    case kKeyF5:
        return alt ? kModeTvDolly : kModeTvTrack;
    case kKeyF6:
        return alt ? kModeExternalLagged : kModeExternal;
    default:
        return -1;
    }
}

int nextFollowedObject(int index, int objectCount, bool observing) {
    int next = index + 1;
    if (next >= objectCount)
        next = (observing && objectCount > 1) ? 1 : 0;
    return next;
}

int followedOnFirstFrame(int index, int objectCount, bool observing) {
    if (index >= objectCount || index < 0)
        index = 0;
    if (observing && objectCount > 1 && index == 0)
        index = 1;
    return index;
}

float turnSun(float angleDeg) {
    return Wrap180(angleDeg + 5.0f);
}

SceneKeyResult consumeSceneKey(int& pendingKey, bool alt, SceneKeyTarget t) {
    SceneKeyResult result;
    const int key = pendingKey;
    pendingKey = kKeyNone;
    const int mode = cameraModeForKey(key, alt);
    if (mode >= 0) {
        t.camera.mode = mode;
        return result;
    }
    switch (key) {
    case kKeyF11: {
        const int next = nextFollowedObject(t.followed, t.objectCount, t.observing);
        result.followedChanged = next != t.followed;
        t.followed = next;
        break;
    }
    case kKeyF12:
        t.camera.cameraControl = t.camera.cameraControl != 0 ? 0 : 1;
        break;
    case kKeyEscape:
        result.runKey = sim::RunKey::Escape;
        break;
    case 'P':
        result.runKey = sim::RunKey::Pause;
        break;
    case 'T':
        t.sunAngle = turnSun(t.sunAngle);
        break;
    default:
        break;
    }
    return result;
}

ViewKeyAction onViewKeyDown(int key, int& pendingKey) {
    if (key == kKeyF12) {
        pendingKey = kKeyNone;
        return ViewKeyAction::StartPreview;
    }
    pendingKey = key;
    return ViewKeyAction::Redraw;
}

} // namespace kv::app
