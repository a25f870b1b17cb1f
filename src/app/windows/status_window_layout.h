#pragma once
/// Default placement of the three child windows inside the main frame: the
/// camera view centred at the top, the instrument panel centred below the
/// middle, the project window at the top-left. All values in pixels; sizes are
/// outer sizes (client size plus the frame allowance of the window's style).

namespace kv::app {

/// What a window frame adds to its client area.
struct FrameAllowance {
    int horizontal = 0; ///< both side edges together
    int vertical = 0;   ///< caption plus top and bottom edges
};

/// The area the windows are laid out in and the frames of the two window styles.
struct ScreenMetrics {
    int width = 0;
    int height = 0;
    FrameAllowance resizable; ///< camera view and project window
    FrameAllowance fixed;     ///< instrument panel
};

struct WindowRect {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
    friend bool operator==(const WindowRect&, const WindowRect&) = default;
};

/// Client sizes of the child windows.
inline constexpr int kCameraMaxClientWidth = 400;
inline constexpr int kPanelClientWidth = 400;
inline constexpr int kPanelClientHeight = 300;
inline constexpr int kProjectClientWidth = 200;
inline constexpr int kProjectClientHeight = 300;

/// Margin m = width × 0.0390625 − 20, truncated; never below 0.
int layoutMargin(int screenWidth);

/// Outer size of the camera window for the view aspect (width / height), and
/// whether its height had to be cut to fit (height ≤ screen height − 5m).
struct CameraWindowSize {
    int width = 0;
    int height = 0;
    bool heightCut = false;
};
CameraWindowSize cameraWindowSize(const ScreenMetrics& screen, float aspect);

/// The instrument panel: fixed size, centred horizontally, top at height/2 − m.
WindowRect instrumentPanelRect(const ScreenMetrics& screen);

/// The project window at (m, m) with its default size.
WindowRect projectWindowRect(const ScreenMetrics& screen);

struct WindowLayout {
    WindowRect camera;
    WindowRect panel;
    WindowRect project;
};

/// The layout of Window > Reset and start-up. With `useWindowAspect` the camera
/// keeps the size of `currentCamera`; in every case it is centred
/// horizontally with its top at m. The panel never starts above the camera
/// window's bottom edge, so that the camera never hides it.
WindowLayout resetWindowLayout(const ScreenMetrics& screen, float aspect, bool useWindowAspect,
                               const WindowRect& currentCamera);

/// The camera window after a change of the aspect ratio: resized at its
/// current top-left corner, or centred at the top again when its height had
/// to be cut. Unchanged when `useWindowAspect` is set.
WindowRect cameraAfterAspectChange(const ScreenMetrics& screen, float aspect, bool useWindowAspect,
                                   const WindowRect& currentCamera);

} // namespace kv::app
