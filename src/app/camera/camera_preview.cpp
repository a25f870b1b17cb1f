#include "app/camera/camera_preview.h"

#include "app/input/input_keys.h"

namespace kv::app {

void runCameraPreview(sim::CameraRecord& camera, int& pendingKey, PreviewFlags& flags,
                      CameraPreviewHost& host) {
    camera.cameraControl = 1;
    pendingKey = kKeyNone;
    flags.stopRequest = false;
    flags.runActive = true;
    host.beginInput();
    int frame = 0;
    while (!flags.stopRequest && camera.cameraControl != 0) {
        const float time = host.elapsedSeconds();
        if (host.previewFrame(frame, time) == sim::RunKey::Escape)
            flags.stopRequest = true;
        ++frame;
    }
    flags.stopRequest = true;
    host.endInput();
    flags.runActive = false;
}

} // namespace kv::app
