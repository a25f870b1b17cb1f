#include "views/camera_view.h"

#include <GL/gl.h>
#include <QGuiApplication>
#include <QOpenGLContext>
#include <QPainter>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>

namespace kv::views {

namespace {

/// Scene axes are north, east, down (m); GL eye axes are right, up, backwards.
/// Column-major matrix taking scene axes to eye axes.
constexpr GLfloat kSceneToEye[16] = {0, 0, -1, 0, 1, 0, 0, 0, 0, -1, 0, 0, 0, 0, 0, 1};

/// Viewpoint of the placeholder view: behind the origin and above the ground (m),
/// looking north and slightly down (deg).
constexpr float kEyeNorth = -120.0f;
constexpr float kEyeDown = -25.0f;
constexpr float kEyePitchDown = 8.0f;

} // namespace

bool CameraView::openGlAvailable() {
    // These platforms draw into memory only and cannot host a GL surface in a widget.
    const QString platform = QGuiApplication::platformName();
    if (platform == QLatin1String("offscreen") || platform == QLatin1String("minimal")) {
        return false;
    }
    QOpenGLContext probe;
    return probe.create();
}

CameraView::CameraView(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("cameraView"));
    setFocusPolicy(Qt::StrongFocus);
    setMinimumSize(16, 16);
    if (openGlAvailable()) {
        auto* layout = new QVBoxLayout(this);
        layout->setContentsMargins(0, 0, 0, 0);
        surface_ = new SceneSurface(this);
        layout->addWidget(surface_);
    }
}

void CameraView::paintEvent(QPaintEvent*) {
    if (surface_ != nullptr)
        return;
    QPainter p(this);
    const int horizon = height() / 3;
    p.fillRect(0, 0, width(), horizon, QColor(51, 51, 140));
    p.fillRect(0, horizon, width(), height() - horizon, QColor(0, 51, 0));
}

SceneSurface::SceneSurface(QWidget* parent) : QOpenGLWidget(parent) {
    setObjectName(QStringLiteral("sceneSurface"));
    // Keys belong to the camera view, not to its surface.
    setFocusPolicy(Qt::NoFocus);
}

void SceneSurface::setGrid(float spacing, float size) {
    if (spacing > 0.0f && size > 0.0f) {
        gridSpacing_ = spacing;
        gridSize_ = size;
        update();
    }
}

void SceneSurface::setFieldOfView(float degrees) {
    if (degrees > 1.0f && degrees < 179.0f) {
        fieldOfView_ = degrees;
        update();
    }
}

void CameraView::setGrid(float spacing, float size) {
    if (!(spacing > 0.0f && size > 0.0f))
        return;
    gridSpacing_ = spacing;
    gridSize_ = size;
    if (surface_ != nullptr)
        surface_->setGrid(spacing, size);
}

void CameraView::setFieldOfView(float degrees) {
    if (surface_ != nullptr)
        surface_->setFieldOfView(degrees);
}

void SceneSurface::initializeGL() {
    glDisable(GL_LIGHTING);
    glDisable(GL_DEPTH_TEST);
}

void SceneSurface::resizeGL(int w, int h) {
    glViewport(0, 0, w, h > 0 ? h : 1);
}

void SceneSurface::paintGL() {
    const int h = height() > 0 ? height() : 1;
    const double aspect = static_cast<double>(width()) / h;
    const double nearPlane = 1.0;
    const double farPlane = 20000.0;
    const double top = nearPlane * std::tan(fieldOfView_ * 0.5 * 3.14159265358979 / 180.0);

    glClearColor(0.2f, 0.2f, 0.55f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glFrustum(-top * aspect, top * aspect, -top, top, nearPlane, farPlane);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glRotatef(kEyePitchDown, 1.0f, 0.0f, 0.0f);
    glMultMatrixf(kSceneToEye);
    glTranslatef(-kEyeNorth, 0.0f, -kEyeDown);

    // Ground: a dark green plane out to the far distance.
    const float far = 15000.0f;
    glColor3f(0.0f, 0.2f, 0.0f);
    glBegin(GL_QUADS);
    glVertex3f(-far, -far, 0.0f);
    glVertex3f(far, -far, 0.0f);
    glVertex3f(far, far, 0.0f);
    glVertex3f(-far, far, 0.0f);
    glEnd();

    // Grid lines over the ground.
    glColor3f(0.0f, 0.6f, 0.0f);
    glBegin(GL_LINES);
    const float s = gridSize_;
    // A fine spacing over a large size would mean millions of lines: cap the count.
    constexpr int kMaxGridLines = 4000;
    const int lines = std::min(static_cast<int>(2.0f * s / gridSpacing_ + 0.5f), kMaxGridLines);
    for (int i = 0; i <= lines; ++i) {
        const float a = -s + static_cast<float>(i) * gridSpacing_;
        glVertex3f(-s, a, 0.0f);
        glVertex3f(s, a, 0.0f);
        glVertex3f(a, -s, 0.0f);
        glVertex3f(a, s, 0.0f);
    }
    glEnd();
}

} // namespace kv::views
