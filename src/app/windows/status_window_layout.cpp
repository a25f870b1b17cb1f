#include "app/windows/status_window_layout.h"

#include <algorithm>
#include <cmath>

namespace kv::app {

namespace {

/// Aspect used when the stored one is unusable (the factory 4:3).
constexpr float kFallbackAspect = 1.3333f;

float usableAspect(float aspect) {
    return (std::isfinite(aspect) && aspect > 0.01f) ? aspect : kFallbackAspect;
}

WindowRect centredAtTop(const ScreenMetrics& screen, int width, int height) {
    return {(screen.width - width) / 2, layoutMargin(screen.width), width, height};
}

} // namespace

int layoutMargin(int screenWidth) {
    const int m = static_cast<int>(screenWidth * 0.0390625 - 20.0);
    return std::max(m, 0);
}

CameraWindowSize cameraWindowSize(const ScreenMetrics& screen, float aspect) {
    aspect = usableAspect(aspect);
    const FrameAllowance& a = screen.resizable;
    const int m = layoutMargin(screen.width);
    const double clientWidth =
        std::min(static_cast<double>(screen.width) * 0.390625, double{kCameraMaxClientWidth});
    CameraWindowSize size;
    const double height = clientWidth / aspect + a.vertical;
    const int heightLimit = screen.height - 5 * m;
    if (height > heightLimit) {
        // On a very small screen the limit can fall below the frame itself:
        // keep at least one row of client area.
        const int h = std::max(heightLimit, a.vertical + 1);
        size.height = h;
        size.width =
            static_cast<int>((h - a.vertical) * static_cast<double>(aspect)) + a.horizontal;
        size.heightCut = true;
    } else {
        size.height = static_cast<int>(height);
        size.width = static_cast<int>(clientWidth) + a.horizontal;
    }
    size.width = std::max(size.width, a.horizontal + 1);
    return size;
}

WindowRect instrumentPanelRect(const ScreenMetrics& screen) {
    const int w = kPanelClientWidth + screen.fixed.horizontal;
    const int h = kPanelClientHeight + screen.fixed.vertical;
    return {screen.width / 2 - w / 2, screen.height / 2 - layoutMargin(screen.width), w, h};
}

WindowRect projectWindowRect(const ScreenMetrics& screen) {
    const int m = layoutMargin(screen.width);
    return {m, m, kProjectClientWidth + screen.resizable.horizontal,
            kProjectClientHeight + screen.resizable.vertical};
}

WindowLayout resetWindowLayout(const ScreenMetrics& screen, float aspect, bool useWindowAspect,
                               const WindowRect& currentCamera) {
    WindowLayout layout;
    int w = currentCamera.width;
    int h = currentCamera.height;
    if (!useWindowAspect) {
        const CameraWindowSize size = cameraWindowSize(screen, aspect);
        w = size.width;
        h = size.height;
    }
    layout.camera = centredAtTop(screen, w, h);
    layout.panel = instrumentPanelRect(screen);
    // On a short frame (1024 x 768 less the menu and status bars) the panel's
    // top would fall inside the camera window, which is activated last and so
    // covers the panel's caption: start the panel below the camera instead.
    layout.panel.y = std::max(layout.panel.y, layout.camera.y + layout.camera.height);
    layout.project = projectWindowRect(screen);
    return layout;
}

WindowRect cameraAfterAspectChange(const ScreenMetrics& screen, float aspect, bool useWindowAspect,
                                   const WindowRect& currentCamera) {
    if (useWindowAspect)
        return currentCamera;
    const CameraWindowSize size = cameraWindowSize(screen, aspect);
    if (size.heightCut)
        return centredAtTop(screen, size.width, size.height);
    return {currentCamera.x, currentCamera.y, size.width, size.height};
}

} // namespace kv::app
