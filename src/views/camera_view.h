#pragma once
/// The camera view: the window of the 3-D scene. It holds the OpenGL surface
/// when the platform offers OpenGL; otherwise (a headless platform, a machine
/// without a GL driver) it paints the sky and ground without it, so that the
/// program still runs. The view itself takes the keyboard focus: camera and
/// run keys arrive here.

#include "common/ports/progress.h"
#include "views/gl_scene_renderer.h"

#include <QOpenGLWidget>
#include <QWidget>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace kv::app {
struct OverlayText;
}

namespace kv::views {

class SceneContent;

/// Shown when no OpenGL context of the format the drawing needs (double
/// buffered, with a depth buffer) can be made on this display.
inline constexpr const char* kChoosePixelFormatFailed = "ChoosePixelFormat failed";
/// Shown when the camera view's surface could not take such a context.
inline constexpr const char* kSetPixelFormatFailed = "SetPixelFormat failed";

/// The OpenGL surface of the camera view (compatibility profile, fixed pipeline).
/// It draws the frame it was last handed; between runs it draws the content's
/// scene as it stands.
class SceneSurface final : public QOpenGLWidget {
    Q_OBJECT
  public:
    explicit SceneSurface(QWidget* parent = nullptr);
    ~SceneSurface() override;

    /// Ground grid line spacing and half extent (m).
    void setGrid(float spacing, float size);
    /// Horizontal field of view (deg).
    void setFieldOfView(float degrees);

    /// The scene to show (not owned; null: only sky and grid). Its lists are
    /// built at once when the context exists, else when it is made.
    void setContent(SceneContent* content);
    /// Rebuilds every list from the content, showing the builders' progress
    /// ("Building Terrain:", "Building Scenery:").
    void rebuildLists();
    /// Where rebuildLists reports progress (not owned; null: nowhere). Lists
    /// built within a paint report nowhere.
    void setProgress(ProgressPort* progress) { progress_ = progress; }

    /// Draws `frame` with `overlay` on top now, and keeps them for repaints.
    void showFrame(const SceneFrame& frame, std::vector<app::OverlayText> overlay);
    /// Goes back to drawing the content's scene as it stands.
    void clearFrame();

    /// True once the GL context was made and the lists built.
    bool ready() const { return ready_; }

  signals:
    /// The surface was given a size but its GL context could not be made.
    void contextFailed();

  public:
    /// Frames painted since the surface was made.
    int framesPainted() const { return painted_; }
    const GlSceneRenderer& renderer() const { return renderer_; }

  protected:
    void resizeEvent(QResizeEvent* event) override;
    void initializeGL() override;
    void resizeGL(int w, int h) override;
    void paintGL() override;

  private:
    /// Builds every list; the context must be current.
    void buildLists(ProgressPort& progress);
    SceneFrame idleFrame();
    void lens(float& fieldOfView, float& aspect) const;

    GlSceneRenderer renderer_;
    SceneContent* content_ = nullptr;
    ProgressPort* progress_ = nullptr;
    std::optional<SceneFrame> frame_;
    std::vector<app::OverlayText> overlay_;
    bool ready_ = false;
    bool failed_ = false;
    int painted_ = 0;
    float gridSpacing_ = 50.0f;
    float gridSize_ = 1000.0f;
    float fieldOfView_ = 36.87f;
};

class CameraView final : public QWidget {
    Q_OBJECT
  public:
    /// Whether a GL context can be made (the default makes one); asked once
    /// on a window system platform.
    using ContextProbe = std::function<bool()>;
    explicit CameraView(QWidget* parent = nullptr, const ContextProbe& probe = {});

    /// Ground grid line spacing and half extent (m).
    void setGrid(float spacing, float size);
    /// Horizontal field of view (deg).
    void setFieldOfView(float degrees);
    float gridSpacing() const { return gridSpacing_; }
    float gridSize() const { return gridSize_; }

    /// The GL surface, or null when the platform has no OpenGL.
    SceneSurface* surface() const { return surface_; }
    /// Whether this platform can show an OpenGL surface inside a window.
    static bool openGlAvailable();

    /// Receives the view's key-downs outside a run, as core key codes.
    void setKeyHandler(std::function<void(int key)> handler) { keyHandler_ = std::move(handler); }

    /// Why the view has no GL surface on a window system that should give one
    /// (kChoosePixelFormatFailed, kSetPixelFormatFailed); empty when it has
    /// one, or on a platform that draws into memory only.
    const std::string& glFailure() const { return glFailure_; }
    /// Told the failure once, from the event loop: at once if it has already
    /// happened, else when it does. The view then paints without OpenGL.
    void setGlFailureHandler(std::function<void(std::string_view message)> handler);

  protected:
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

  private:
    void reportGlFailure();

    SceneSurface* surface_ = nullptr;
    std::function<void(int)> keyHandler_;
    std::function<void(std::string_view)> glFailureHandler_;
    std::string glFailure_;
    bool glFailureReported_ = false;
    float gridSpacing_ = 50.0f;
    float gridSize_ = 1000.0f;
};

} // namespace kv::views
