#pragma once
/// The camera view: the window of the 3-D scene. It holds the OpenGL surface
/// when the platform offers OpenGL; otherwise (a headless platform, a machine
/// without a GL driver) it paints the sky and ground without it, so that the
/// program still runs. Until the scene renderer is in place the surface shows
/// the sky and the ground grid from a fixed viewpoint behind the origin.
/// The view itself takes the keyboard focus: camera and run keys arrive here.

#include <QOpenGLWidget>
#include <QWidget>

namespace kv::views {

/// The OpenGL surface of the camera view (compatibility profile, fixed pipeline).
class SceneSurface final : public QOpenGLWidget {
    Q_OBJECT
  public:
    explicit SceneSurface(QWidget* parent = nullptr);
    /// Ground grid line spacing and half extent (m).
    void setGrid(float spacing, float size);
    /// Vertical field of view (deg).
    void setFieldOfView(float degrees);

  protected:
    void initializeGL() override;
    void resizeGL(int w, int h) override;
    void paintGL() override;

  private:
    float gridSpacing_ = 50.0f;
    float gridSize_ = 1000.0f;
    float fieldOfView_ = 36.87f;
};

class CameraView final : public QWidget {
    Q_OBJECT
  public:
    explicit CameraView(QWidget* parent = nullptr);

    /// Ground grid line spacing and half extent (m).
    void setGrid(float spacing, float size);
    /// Vertical field of view (deg).
    void setFieldOfView(float degrees);
    float gridSpacing() const { return gridSpacing_; }
    float gridSize() const { return gridSize_; }

    /// The GL surface, or null when the platform has no OpenGL.
    SceneSurface* surface() const { return surface_; }
    /// Whether this platform can show an OpenGL surface inside a window.
    static bool openGlAvailable();

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    SceneSurface* surface_ = nullptr;
    float gridSpacing_ = 50.0f;
    float gridSize_ = 1000.0f;
};

} // namespace kv::views
