#include "app/camera/camera_settings.h"

#include <algorithm>
#include <cmath>

namespace kv::app {

CameraSettings cameraSettingsFrom(const Preferences& prefs) {
    CameraSettings s;
    s.dt = prefs.framePeriod > 0.0f ? prefs.framePeriod : 1.0f;
    s.lag = std::clamp(prefs.cameraLag, 0.0f, 1.0f);
    s.maxVelocity = prefs.cameraMaxVelocity;
    s.maxAngularRate = prefs.cameraMaxAngularRate;
    s.drag = std::clamp(prefs.cameraDrag, 0.0f, 20.0f);
    s.jitterOn = prefs.cameraJitter != 0;
    s.jitterPosition = prefs.jitterPosition;
    s.jitterAngle = prefs.jitterAngle;
    s.bounceOn = prefs.cameraBounce != 0;
    s.spring = std::clamp(prefs.bounceSpring, 0.0f, 20000.0f);
    s.damping = prefs.bounceDampingCoefficient;
    s.lockLongitudinal = prefs.bounceLockLongitudinal != 0;
    s.lockLateral = prefs.bounceLockLateral != 0;
    s.lockVertical = prefs.bounceLockVertical != 0;
    s.fieldOfView = std::clamp(prefs.fieldOfView, 1.0f, 180.0f);
    s.viewAspect = std::clamp(prefs.aspectRatio, 1.0f, 5.0f);
    return s;
}

CameraSettings cameraSettingsFromEntries(const CameraDialogEntries& e) {
    CameraSettings s;
    s.dt = 1.0f / std::max(e.updateRate, 1.0f);
    s.lag = std::clamp(e.lagPercent * 0.01f, 0.0f, 1.0f);
    s.maxVelocity = e.maxVelocity;
    s.maxAngularRate = e.maxAngularRate;
    s.drag = std::clamp(e.dragPercent * 0.2f, 0.0f, 20.0f);
    s.jitterOn = e.jitterOn;
    s.jitterPosition = e.jitterPositionPercent * 0.0002f;
    s.jitterAngle = e.jitterAnglePercent * 0.0002f;
    s.bounceOn = e.bounceOn;
    s.spring = std::clamp(e.springPercent * 200.0f, 0.0f, 20000.0f);
    const float zeta = std::clamp(1.0f - e.bouncePercent * 0.01f, 0.0f, 1.0f);
    s.damping = 2.0f * zeta * std::sqrt(100.0f * s.spring);
    s.lockLongitudinal = e.lockLongitudinal;
    s.lockLateral = e.lockLateral;
    s.lockVertical = e.lockVertical;
    s.fieldOfView = std::clamp(e.fieldOfView, 1.0f, 180.0f);
    s.viewAspect = std::clamp(e.viewAspect, 1.0f, 5.0f);
    return s;
}

bool applyCameraPreset(int index, float& fieldOfView, float& aspect) {
    if (index < 0 || index >= static_cast<int>(kCameraPresets.size()))
        return false;
    const CameraPreset& p = kCameraPresets[static_cast<std::size_t>(index)];
    fieldOfView = p.fieldOfView;
    aspect = p.aspect;
    return true;
}

int presetAfterEdit(int chosen, float fieldOfView, float aspect, bool useWindowAspect) {
    if (useWindowAspect || chosen < 0 || chosen >= static_cast<int>(kCameraPresets.size()))
        return kCustomPreset;
    const CameraPreset& p = kCameraPresets[static_cast<std::size_t>(chosen)];
    if (p.fieldOfView != fieldOfView || p.aspect != aspect)
        return kCustomPreset;
    return chosen;
}

} // namespace kv::app
