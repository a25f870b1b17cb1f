#pragma once
/// Camera preferences in the internal form the camera motion uses, and the lens
/// presets that fill field of view and aspect.

#include "app/settings/preferences.h"

#include <array>
#include <string_view>

namespace kv::app {

struct CameraSettings {
    float dt = 1.0f / 12.0f;       ///< frame interval (s)
    float lag = 0.2f;              ///< TV / external lag, 0..1
    float maxVelocity = 25.0f;     ///< V (scene units/s)
    float maxAngularRate = 50.0f;  ///< W (deg/s)
    float drag = 3.0f;             ///< D (1/s), 0..20
    bool jitterOn = false;         ///< jitter while a run is active
    float jitterPosition = 0.01f;  ///< sigma of the position jitter (scene units)
    float jitterAngle = 0.01f;     ///< sigma of the angle jitter (deg)
    bool bounceOn = false;         ///< spring-damped bounce while a run is active
    float spring = 5000.0f;        ///< K, 0..20000
    float damping = 424.26407f;    ///< C
    bool lockLongitudinal = false; ///< the bounce keeps the target's forward component
    bool lockLateral = false;      ///< the bounce keeps the target's right component
    bool lockVertical = false;     ///< the bounce keeps the target's down component
    float fieldOfView = 36.87f;    ///< horizontal field of view (deg), 1..180
    float viewAspect = 1.3333f;    ///< width / height of the view, 1..5
};

/// The internal camera values held in the preference record.
CameraSettings cameraSettingsFrom(const Preferences& prefs);

/// The Camera dialog's entries, in the units the user types them.
struct CameraDialogEntries {
    float updateRate = 12.0f;     ///< "Update Rate (FPS)"
    float lagPercent = 20.0f;     ///< "TV / External Lag (%)"
    float maxVelocity = 25.0f;    ///< "Max. Velocity (%)"
    float maxAngularRate = 50.0f; ///< "Max. Angular Rate (%)"
    float dragPercent = 15.0f;    ///< "Drag (%)"
    bool jitterOn = false;
    float jitterPositionPercent = 50.0f; ///< "Position (%)"
    float jitterAnglePercent = 50.0f;    ///< "Angle (%)"
    bool bounceOn = false;
    float springPercent = 25.0f; ///< "Spring (%)"
    float bouncePercent = 70.0f; ///< "Bounce (%)"
    bool lockLongitudinal = false;
    bool lockLateral = false;
    bool lockVertical = false;
    float fieldOfView = 36.87f;
    float viewAspect = 1.3333f;
};

/// Converts dialog entries into the internal form, with every clamp applied.
CameraSettings cameraSettingsFromEntries(const CameraDialogEntries& entries);

struct CameraPreset {
    std::string_view name;
    float fieldOfView; ///< horizontal (deg)
    float aspect;      ///< width / height
};

inline constexpr int kCustomPreset = 10;

inline constexpr std::array<CameraPreset, 11> kCameraPresets{{
    {"Computer", 36.87f, 1.3333f},
    {"Super 8mm", 27.1352f, 1.3333f},
    {"16mm", 27.4644f, 1.3846f},
    {"Super 16mm", 28.0992f, 1.6666f},
    {"35mm", 16.6398f, 1.5f},
    {"35mm Full", 27.956f, 1.3333f},
    {"VistaVision", 28.2436f, 1.5f},
    {"65mm", 28.0631f, 2.2857f},
    {"Imax", 28.0451f, 1.2f},
    {"70mm", 28.0451f, 2.19f},
    {"Custom", 36.87f, 1.3333f},
}};

/// Fills field of view and aspect from preset `index`; an index outside the
/// table leaves them unchanged and returns false.
bool applyCameraPreset(int index, float& fieldOfView, float& aspect);

/// The preset selection after the dialog: "Custom" when the window aspect is
/// used or field of view or aspect differ from the chosen preset's.
int presetAfterEdit(int chosen, float fieldOfView, float aspect, bool useWindowAspect);

} // namespace kv::app
