#include "app/dialogs/camera_form.h"

#include "app/camera/camera_settings.h"

#include <algorithm>
#include <cmath>

namespace kv::app {

CameraForm cameraForm(const Preferences& p) {
    CameraForm f;
    f.updateRate = p.framePeriod > 0.0f ? 1.0f / p.framePeriod : 1.0f;
    f.lagPercent = p.cameraLag * 100.0f;
    f.maxVelocity = p.cameraMaxVelocity;
    f.maxAngularRate = p.cameraMaxAngularRate;
    f.dragPercent = p.cameraDrag * 5.0f;
    f.actionSafe = p.actionSafeShown != 0;
    f.titleSafe = p.titleSafeShown != 0;
    f.crossLine = p.crossLineShown != 0;
    f.hatchLine = p.hatchLineShown != 0;
    f.useWindowAspect = p.useWindowAspect != 0;
    f.preset = std::clamp(p.cameraPreset, 0, kCustomPreset);
    f.aspectRatio = p.aspectRatio;
    f.fieldOfView = p.fieldOfView;
    f.jitterOn = p.cameraJitter != 0;
    f.jitterPosition = p.jitterPosition * 5000.0f;
    f.jitterAngle = p.jitterAngle * 5000.0f;
    f.bounceOn = p.cameraBounce != 0;
    f.springPercent = p.bounceSpring * 0.005f;
    f.bouncePercent = (1.0f - p.bounceDampingRatio) * 100.0f;
    f.lockLongitudinal = p.bounceLockLongitudinal != 0;
    f.lockLateral = p.bounceLockLateral != 0;
    f.lockVertical = p.bounceLockVertical != 0;
    return f;
}

void chooseCameraPreset(CameraForm& form, int preset) {
    float fieldOfView = 0.0f;
    float aspect = 0.0f;
    if (!applyCameraPreset(preset, fieldOfView, aspect))
        return;
    form.preset = preset;
    form.fieldOfView = fieldOfView;
    form.aspectRatio = aspect;
}

CameraChange applyCameraForm(const CameraForm& f, Preferences& p) {
    const Preferences before = p;
    p.cameraPreset = f.preset;
    p.actionSafeShown = f.actionSafe ? 1 : 0;
    p.titleSafeShown = f.titleSafe ? 1 : 0;
    p.crossLineShown = f.crossLine ? 1 : 0;
    p.hatchLineShown = f.hatchLine ? 1 : 0;
    p.useWindowAspect = f.useWindowAspect ? 1 : 0;
    p.cameraJitter = f.jitterOn ? 1 : 0;
    p.cameraBounce = f.bounceOn ? 1 : 0;
    p.bounceLockLongitudinal = f.lockLongitudinal ? 1 : 0;
    p.bounceLockLateral = f.lockLateral ? 1 : 0;
    p.bounceLockVertical = f.lockVertical ? 1 : 0;

    p.framePeriod = 1.0f / std::max(static_cast<float>(f.updateRate), 1.0f);
    p.cameraLag = std::clamp(static_cast<float>(f.lagPercent) * 0.01f, 0.0f, 1.0f);
    p.cameraMaxVelocity = static_cast<float>(f.maxVelocity);
    p.cameraMaxAngularRate = static_cast<float>(f.maxAngularRate);
    p.cameraDrag = std::clamp(static_cast<float>(f.dragPercent) * 0.2f, 0.0f, 20.0f);
    if (!f.useWindowAspect)
        p.aspectRatio = std::clamp(static_cast<float>(f.aspectRatio), 1.0f, 5.0f);
    p.fieldOfView = std::clamp(static_cast<float>(f.fieldOfView), 1.0f, 180.0f);
    p.jitterPosition = static_cast<float>(f.jitterPosition) * 0.0002f;
    p.jitterAngle = static_cast<float>(f.jitterAngle) * 0.0002f;
    p.bounceSpring = std::clamp(static_cast<float>(f.springPercent) * 200.0f, 0.0f, 20000.0f);
    p.bounceDampingRatio =
        std::clamp(1.0f - static_cast<float>(f.bouncePercent) * 0.01f, 0.0f, 1.0f);
    p.bounceDampingCoefficient =
        std::sqrt(4.0f * 100.0f * p.bounceSpring * p.bounceDampingRatio * p.bounceDampingRatio);
    p.cameraPreset = presetAfterEdit(f.preset, p.fieldOfView, p.aspectRatio, f.useWindowAspect);

    CameraChange change;
    change.relayout = p.aspectRatio != before.aspectRatio ||
                      (before.useWindowAspect != 0 && p.useWindowAspect == 0);
    change.lensOrOverlays =
        p.aspectRatio != before.aspectRatio || p.fieldOfView != before.fieldOfView ||
        p.actionSafeShown != before.actionSafeShown || p.titleSafeShown != before.titleSafeShown ||
        p.crossLineShown != before.crossLineShown || p.hatchLineShown != before.hatchLineShown;
    return change;
}

} // namespace kv::app
