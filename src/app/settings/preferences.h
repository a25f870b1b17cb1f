#pragma once
/// The preference record: units, grid, controller, camera, memory settings and
/// physics step, 45 little-endian 32-bit fields (180 bytes), stored byte for
/// byte in the preference file and in project files.

#include "app/settings/units.h"
#include "common/unit_constants.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

namespace kv::app {

inline constexpr std::size_t kPreferenceRecordSize = 180;

struct Preferences {
    std::int32_t reserved0 = 0;         ///< meaning not defined; kept as read, never reset
    float simTimeStep = 1.0f / 120.0f;  ///< physics step (s): 1/60, 1/120 or 1/240
    std::int32_t englishForceUnits = 0; ///< 1: forces in lbf, 0: newtons
    std::int32_t rightHandedAxes = 0;   ///< 0 left hand, 1 right hand, 2 z up (coordinate_system.h)
    float lengthUnitFactor = kFeetPerMetre;  ///< feet per working length unit
    std::int32_t gridOn = 1;                 ///< flat grid drawn
    std::int32_t gridCentering = 1;          ///< grid follows the object
    std::int32_t terrainResolutionStep = 11; ///< terrain display resolution step, 1..51
    float gridSpacing = 50.0f;               ///< grid line spacing (m)
    float gridSize = 1000.0f;                ///< grid half-extent (m)
    std::int32_t controllerCentring = 0;     ///< 0 camera window (mouse), 1 full screen (joystick)
    std::int32_t cameraReverseLeftRight = 0;
    std::int32_t cameraReverseUpDown = 0;
    std::int32_t vehicleReverseLeftRight = 0;
    std::int32_t vehicleReverseUpDown = 0;
    float deadzone = 0.03f;        ///< controller deadzone, fraction of full travel
    float sensitivity = 1.0f;      ///< controller sensitivity, fraction
    std::int32_t cameraPreset = 0; ///< camera preset index 0..10, 10 = "Custom"
    std::int32_t actionSafeShown = 0;
    std::int32_t titleSafeShown = 0;
    std::int32_t crossLineShown = 1;
    std::int32_t hatchLineShown = 0;
    std::int32_t useWindowAspect = 0;        ///< aspect ratio follows the camera window
    std::int32_t cameraMotionParameter = 10; ///< read by the camera motion; no dialog sets it
    std::int32_t cameraJitter = 0;
    std::int32_t cameraBounce = 0;
    /// Minutes between the recovery copies of a modified project, stored as
    /// minutes + 1 so that the 0 of files older than this field reads as the
    /// default; use `recoveryMinutes` / `setRecoveryMinutes`.
    std::int32_t recoveryInterval = 0;
    std::int32_t bounceLockLongitudinal = 0;
    std::int32_t bounceLockLateral = 0;
    std::int32_t bounceLockVertical = 0;
    float framePeriod = 1.0f / 12.0f;            ///< displayed and recorded frame period (s)
    float aspectRatio = 1.3333f;                 ///< camera view aspect ratio
    float fieldOfView = 36.87f;                  ///< camera field of view (deg)
    float cameraMaxVelocity = 25.0f;             ///< percent
    float cameraMaxAngularRate = 50.0f;          ///< percent
    float cameraDrag = 3.0f;                     ///< 0.2 x percent
    float cameraLag = 0.2f;                      ///< TV / external camera lag, fraction
    float jitterPosition = 0.01f;                ///< 0.0002 x percent
    float jitterAngle = 0.01f;                   ///< 0.0002 x percent
    float bounceDampingRatio = 0.3f;             ///< 1 - percent / 100
    float bounceSpring = 5000.0f;                ///< 200 x percent
    float bounceDampingCoefficient = 424.26407f; ///< sqrt(4 x 100 x spring x ratio^2)
    std::int32_t objectSlots = 7;                ///< object table slots, two of them reserved
    std::int32_t recordFrames = 2002;            ///< frames each record buffer holds, two reserved
    std::int32_t terrainGrid = 400;              ///< terrain height grid cells per side
};

static_assert(sizeof(Preferences) == kPreferenceRecordSize);
static_assert(offsetof(Preferences, simTimeStep) == 4);
static_assert(offsetof(Preferences, lengthUnitFactor) == 16);
static_assert(offsetof(Preferences, terrainResolutionStep) == 28);
static_assert(offsetof(Preferences, controllerCentring) == 40);
static_assert(offsetof(Preferences, deadzone) == 60);
static_assert(offsetof(Preferences, cameraPreset) == 68);
static_assert(offsetof(Preferences, cameraMotionParameter) == 92);
static_assert(offsetof(Preferences, recoveryInterval) == 104);
static_assert(offsetof(Preferences, framePeriod) == 120);
static_assert(offsetof(Preferences, bounceDampingCoefficient) == 164);
static_assert(offsetof(Preferences, objectSlots) == 168);
static_assert(offsetof(Preferences, recordFrames) == 172);
static_assert(offsetof(Preferences, terrainGrid) == 176);

using PreferenceImage = std::array<std::uint8_t, kPreferenceRecordSize>;

void encodePreferences(const Preferences& p, std::span<std::uint8_t, kPreferenceRecordSize> out);
PreferenceImage encodePreferences(const Preferences& p);
void decodePreferences(std::span<const std::uint8_t, kPreferenceRecordSize> in, Preferences& p);

/// Minutes between recovery copies of a modified project unless chosen otherwise.
inline constexpr int kDefaultRecoveryMinutes = 2;
/// Longest interval that can be chosen (min).
inline constexpr int kMaxRecoveryMinutes = 120;
/// The interval in minutes; 0: no copies between runs. A stored value out of
/// range reads as the default.
int recoveryMinutes(const Preferences& p);
/// Sets the interval, clamped to 0 .. kMaxRecoveryMinutes.
void setRecoveryMinutes(Preferences& p, int minutes);

/// Writes every factory value except the reserved first field; the object
/// slots, record frames and terrain grid only when `includeMemory` is set
/// (start-up with a damaged file does, Preferences > Reset does not).
void factoryReset(Preferences& p, bool includeMemory);

/// The working-unit choices of `prefs`, as conversions and labels take them.
WorkingUnits workingUnitsOf(const Preferences& prefs);

} // namespace kv::app
