#pragma once
/// The virtual camera's running state beside the recorded camera record: orbit,
/// delay line, speed integrators, jitter source, bounce and the captured state
/// of the attached, external and TV modes.

#include "common/vecmath.h"
#include "simulation/camera_record.h"
#include "simulation/control_record.h"

#include <array>
#include <cstdint>

namespace kv::app {

/// Camera modes, chosen with F1-F6 (Alt picks the second of a pair).
enum CameraMode : int {
    kModeRoam = 0,
    kModeRoamPan = 1,
    kModeChase = 2,
    kModeChasePan = 3,
    kModeCockpit = 4,
    kModeAttached = 5,
    kModeAttachedPan = 6,
    kModeExternal = 7,
    kModeExternalLagged = 8,
    kModeTvTrack = 9,
    kModeTvDolly = 10,
};
inline constexpr int kCameraModeCount = 11;

/// Two-step Adams-Bashforth integrator of a speed with drag.
struct SpeedIntegrator {
    float speed = 0.0f;     ///< s (units per frame)
    float lastAccel = 0.0f; ///< a0 of the previous sub-step
};

/// A pose of the followed object: position (scene units) and roll, pitch, yaw (deg).
struct Pose {
    Vec3 position{};
    Vec3 angles{};
};

inline constexpr int kDelayEntries = 80;
inline constexpr int kMinDelay = 1;
inline constexpr int kMaxDelay = 79;

struct PoseDelayLine {
    std::array<Pose, kDelayEntries> entries{};
    int writeIndex = 0;
    float lastTime = 0.0f; ///< run time of the last written pose (s)
    int delay = 10;        ///< d, entries between the newest pose and the one read (1-79)
};

/// Normal deviates by the polar Box-Muller method from a fixed-seed linear
/// congruential source, so runs repeat exactly.
struct NormalSource {
    std::uint32_t seed = 1;
    bool haveSpare = false;
    float spare = 0.0f;
};

struct BounceState {
    Vec3 position{};   ///< y, the bounced position (scene units)
    Vec3 velocity{};   ///< v (scene units/s)
    Vec3 lastTarget{}; ///< x0, the working position of the last frame
};

struct CameraState {
    // Orbit of the external modes.
    float orbitDistance = 20.0f;    ///< distance from the object (scene units), at least 1
    float orbitAzimuth = 0.0f;      ///< deg
    float orbitElevation = -10.0f;  ///< deg; negative puts the camera above the object
    float relativeAzimuth = 180.0f; ///< q of the lagged external mode (deg)
    Vec3 laggedPosition{};          ///< u of the lagged external mode

    // Attached and chase modes.
    Vec3 offset{}; ///< p, the camera position in the object frame
    Mat3 relativeAttitude{1, 0, 0, 0, 1, 0, 0, 0, 1}; ///< R_rel = R_cam R_obj^T
    Vec3 lastVelocity{}; ///< camera movement of the last frame (scene units)

    // TV modes.
    Vec3 anchor{};            ///< fixed camera point (scene units)
    Vec3 smoothedTarget{};    ///< lagged copy of the object position
    float tvLag = 0.0f;       ///< c of the TV track
    float pitchOffset = 0.0f; ///< user's pitch offset (deg)
    float yawOffset = 0.0f;   ///< user's yaw offset (deg)
    float dolly = 0.0f;       ///< z, fraction of the way to the target, 0..0.9

    SpeedIntegrator viewSpeed;  ///< along-view speed of roam, attached and chase
    SpeedIntegrator orbitSpeed; ///< orbit distance rate of the external mode
    SpeedIntegrator dollySpeed; ///< dolly rate of the TV modes

    PoseDelayLine delayLine;
    NormalSource normals;
    BounceState bounce;

    Vec3 workingPosition{};    ///< position the mode computed, before jitter and bounce
    Vec3 lastPosition{};       ///< camera position of the last frame
    Vec3 lastObjectPosition{}; ///< followed object's position of the last frame
    int lastMode = -1;         ///< mode of the last frame; -1 before the first step
};

/// What the camera step reads besides its own state.
struct CameraStepInput {
    int frameCounter = 0;   ///< 0 on the first frame of a run or preview
    float time = 0.0f;      ///< run time of the frame (s)
    bool runActive = false; ///< a run or the camera preview is in progress
    Pose object;            ///< the followed object's pose
};

} // namespace kv::app
