#pragma once
/// Flags of a simulation run and the keys that change them.

namespace kv::sim {

struct RunFlags {
    bool stop = false;                 ///< the run ends after the current frame
    bool pause = false;                ///< frames are drawn but time stands still
    bool late = false;                 ///< the last frame started after its deadline
    bool cameraResetRequest = false;   ///< the camera should return to its start pose
    bool objectMotionRecorded = false; ///< the last run recorded the objects' motion
    bool cameraMotionRecorded = false; ///< the last run recorded the camera's motion
};

/// The run key the scene hands over once a frame.
enum class RunKey { None, Escape, Pause };

/// ESC stops the run and clears pause; P toggles pause unless the run is stopping.
void applyRunKey(RunFlags& flags, RunKey key);

} // namespace kv::sim
