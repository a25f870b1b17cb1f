#pragma once
/// The F12 camera preview: the controller drives the camera while frames are
/// drawn, without running the physics.

#include "simulation/camera_record.h"
#include "simulation/run_flags.h"

namespace kv::app {

/// What the preview loop needs from the program around it.
class CameraPreviewHost {
  public:
    virtual ~CameraPreviewHost() = default;
    virtual void beginInput() = 0;
    virtual void endInput() = 0;
    /// Seconds since the preview began.
    virtual float elapsedSeconds() = 0;
    /// Reads the controller, steps the camera and draws frame `frameCounter` at
    /// time `time` (s); returns the run key the scene consumed.
    virtual sim::RunKey previewFrame(int frameCounter, float time) = 0;
};

/// Run-state flags the preview shares with the run loop.
struct PreviewFlags {
    bool stopRequest = false; ///< ESC was pressed
    bool runActive = false;   ///< a run or preview is in progress
};

/// Runs frames until ESC requests a stop or F12 clears the camera-control flag
/// again; afterwards the stop request is set and the run is inactive.
void runCameraPreview(sim::CameraRecord& camera, int& pendingKey, PreviewFlags& flags,
                      CameraPreviewHost& host);

} // namespace kv::app
