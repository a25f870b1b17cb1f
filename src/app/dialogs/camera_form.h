#pragma once
/// The "Camera" dialog's values: update rate, camera motion, overlays, lens
/// (preset, aspect ratio, field of view), jitter and bounce, as the user reads
/// and types them, and OK's write-back with its clamps.

#include "app/dialogs/dialog_entry.h"
#include "app/settings/preferences.h"

namespace kv::app {

struct CameraForm {
    double updateRate = 12.0;     ///< "Update Rate (FPS)": 1 / frame period
    double lagPercent = 20.0;     ///< "TV / External Lag (%)": lag x 100
    double maxVelocity = 25.0;    ///< "Max. Velocity (%)"
    double maxAngularRate = 50.0; ///< "Max. Angular Rate (%)"
    double dragPercent = 15.0;    ///< "Drag (%)": drag x 5
    bool actionSafe = false;
    bool titleSafe = false;
    bool crossLine = true;
    bool hatchLine = false;
    bool useWindowAspect = false;
    int preset = 0;              ///< index into kCameraPresets
    double aspectRatio = 1.3333; ///< "Aspect Ratio"
    double fieldOfView = 36.87;  ///< "Field of View (deg)"
    bool jitterOn = false;
    double jitterPosition = 50.0; ///< "Position (%)": amount x 5000
    double jitterAngle = 50.0;    ///< "Angle (%)": amount x 5000
    bool bounceOn = false;
    double springPercent = 25.0; ///< "Spring (%)": spring x 0.005
    double bouncePercent = 70.0; ///< "Bounce (%)": (1 - damping ratio) x 100
    bool lockLongitudinal = false;
    bool lockLateral = false;
    bool lockVertical = false;
};

inline constexpr SliderRange kUpdateRateSlider{1, 30};
inline constexpr SliderRange kCameraLagSlider{0, 100};
inline constexpr SliderRange kCameraVelocitySlider{0, 1000, 10.0};
inline constexpr SliderRange kCameraAngularRateSlider{0, 1000, 10.0};
inline constexpr SliderRange kCameraDragSlider{0, 100};
inline constexpr SliderRange kJitterSlider{0, 10000, 100.0};
inline constexpr SliderRange kBounceSpringSlider{0, 100};
inline constexpr SliderRange kBounceSlider{0, 100};

CameraForm cameraForm(const Preferences& prefs);

/// Choosing a preset writes its field of view and aspect ratio into the form.
void chooseCameraPreset(CameraForm& form, int preset);

/// What OK changed, for the follow-ups of the command.
struct CameraChange {
    /// The camera window must be sized again: the aspect ratio changed or
    /// "Use Window Aspect Ratio" was switched off.
    bool relayout = false;
    /// Aspect ratio, field of view or an overlay switch changed: the
    /// overlays and the projection are rebuilt.
    bool lensOrOverlays = false;
};

/// OK, in this order: preset and switches; frame period 1 / max(rate, 1);
/// lag x 0.01 within 0..1; velocities as entered; drag x 0.2 within 0..20;
/// aspect ratio within 1..5 (only without the window's aspect); field of view
/// within 1..180; jitter x 0.0002; spring x 200 within 0..20000; damping
/// ratio 1 - bounce x 0.01 within 0..1; damping coefficient
/// sqrt(4 x 100 x spring x ratio^2); finally "Custom" when the lens differs
/// from the preset's or the window's aspect is used.
CameraChange applyCameraForm(const CameraForm& form, Preferences& prefs);

} // namespace kv::app
