// The run state's "slots" member must be read before Qt defines its macro.
// clang-format off
#include "app/document/document.h"
#include "views/scene_content.h"
// clang-format on

#include "views/camera_view.h"

#include "app/render/status_overlay.h"
#include "views/qt_key_codes.h"

#include <QCoreApplication>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QOpenGLContext>
#include <QOpenGLFunctions>
#include <QPainter>
#include <QResizeEvent>
#include <QTimer>
#include <QVBoxLayout>
#include <QWindow>
#include <algorithm>
#include <cstdio>
#include <limits>

namespace kv::views {

namespace {

/// These platforms draw into memory only and cannot host a GL surface in a widget.
bool memoryOnlyPlatform() {
    const QString platform = QGuiApplication::platformName();
    return platform == QLatin1String("offscreen") || platform == QLatin1String("minimal");
}

bool makeProbeContext() {
    QOpenGLContext probe;
    return probe.create();
}

} // namespace

bool CameraView::openGlAvailable() {
    return !memoryOnlyPlatform() && makeProbeContext();
}

CameraView::CameraView(QWidget* parent, const ContextProbe& probe) : QWidget(parent) {
    setObjectName(QStringLiteral("cameraView"));
    setFocusPolicy(Qt::StrongFocus);
    setMinimumSize(16, 16);
    if (memoryOnlyPlatform())
        return;
    if (!(probe ? probe() : makeProbeContext())) {
        glFailure_ = kChoosePixelFormatFailed;
        return;
    }
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    surface_ = new SceneSurface(this);
    layout->addWidget(surface_);
    connect(surface_, &SceneSurface::contextFailed, this, [this] {
        // Without a context the view paints its backdrop itself.
        glFailure_ = kSetPixelFormatFailed;
        surface_->hide();
        surface_->deleteLater();
        surface_ = nullptr;
        update();
        reportGlFailure();
    });
}

void CameraView::setGlFailureHandler(std::function<void(std::string_view)> handler) {
    glFailureHandler_ = std::move(handler);
    reportGlFailure();
}

void CameraView::reportGlFailure() {
    if (glFailure_.empty() || glFailureReported_ || !glFailureHandler_)
        return;
    glFailureReported_ = true;
    // A modal message may not run inside the resize or construction that found the failure.
    QTimer::singleShot(0, this, [this] {
        if (glFailureHandler_)
            glFailureHandler_(glFailure_);
    });
}

void CameraView::paintEvent(QPaintEvent*) {
    if (surface_ != nullptr)
        return;
    QPainter p(this);
    const int horizon = height() / 3;
    p.fillRect(0, 0, width(), horizon, QColor(51, 51, 140));
    p.fillRect(0, horizon, width(), height() - horizon, QColor(0, 51, 0));
}

void CameraView::keyPressEvent(QKeyEvent* event) {
    const int key = coreKeyCode(*event);
    if (key == 0 || !keyHandler_) {
        QWidget::keyPressEvent(event);
        return;
    }
    keyHandler_(key);
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

SceneSurface::SceneSurface(QWidget* parent) : QOpenGLWidget(parent) {
    setObjectName(QStringLiteral("sceneSurface"));
    // Keys belong to the camera view, not to its surface.
    setFocusPolicy(Qt::NoFocus);
}

SceneSurface::~SceneSurface() {
    // The lists go with the context; nothing else holds GL names.
    content_ = nullptr;
}

void SceneSurface::lens(float& fieldOfView, float& aspect) const {
    fieldOfView = fieldOfView_;
    aspect = 1.3333f;
    if (content_ != nullptr) {
        const app::CameraSettings& s = content_->scene().settings;
        fieldOfView = s.fieldOfView;
        aspect = s.viewAspect;
        if (content_->document().preferences().useWindowAspect != 0 && height() > 0)
            aspect = static_cast<float>(width()) / static_cast<float>(height());
    }
}

void SceneSurface::setGrid(float spacing, float size) {
    if (!(spacing > 0.0f && size > 0.0f))
        return;
    gridSpacing_ = spacing;
    gridSize_ = size;
    if (ready_) {
        makeCurrent();
        renderer_.buildGrid(spacing, size);
        doneCurrent();
    }
    update();
}

void SceneSurface::setFieldOfView(float degrees) {
    if (!(degrees >= 1.0f && degrees <= 180.0f))
        return;
    fieldOfView_ = degrees;
    if (content_ != nullptr)
        content_->refreshSettings();
    if (ready_) {
        float fov = 0.0f;
        float aspect = 1.0f;
        lens(fov, aspect);
        makeCurrent();
        renderer_.buildGuides(fov, aspect);
        doneCurrent();
    }
    update();
}

void SceneSurface::setContent(SceneContent* content) {
    content_ = content;
    frame_.reset();
    if (ready_)
        rebuildLists();
    update();
}

void SceneSurface::rebuildLists() {
    if (!ready_)
        return;
    NullProgress none;
    makeCurrent();
    buildLists(progress_ != nullptr ? *progress_ : none);
    doneCurrent();
}

void SceneSurface::buildLists(ProgressPort& progress) {
    if (content_ != nullptr) {
        content_->refreshSettings();
        content_->buildLists(renderer_, progress);
    } else {
        renderer_.initialise(gridSpacing_, gridSize_, fieldOfView_, 1.3333f);
    }
}

void SceneSurface::showFrame(const SceneFrame& frame, std::vector<app::OverlayText> overlay) {
    frame_ = frame;
    overlay_ = std::move(overlay);
    // The run loop holds the event loop: paint now rather than when it next runs.
    const int before = painted_;
    repaint();
    if (painted_ == before) {
        update();
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    }
}

void SceneSurface::clearFrame() {
    frame_.reset();
    overlay_.clear();
    update();
}

void SceneSurface::resizeEvent(QResizeEvent* event) {
    // The first resize to a real size makes the GL context.
    QOpenGLWidget::resizeEvent(event);
    if (!failed_ && !event->size().isEmpty() && !isValid()) {
        failed_ = true;
        emit contextFailed();
    }
}

void SceneSurface::initializeGL() {
    ready_ = true;
    // Inside a paint no progress window may pump events: the lists of a paint
    // are built quietly. The builds that show progress run outside (rebuildLists).
    NullProgress quiet;
    buildLists(quiet);
}

void SceneSurface::resizeGL(int, int) {
    // The projection is set at every frame: the overlay painter may change the viewport.
    // With the window's own aspect the guides follow the window's shape.
    if (content_ != nullptr && content_->document().preferences().useWindowAspect != 0) {
        float fov = 0.0f;
        float aspect = 1.0f;
        lens(fov, aspect);
        renderer_.buildGuides(fov, aspect);
    }
}

SceneFrame SceneSurface::idleFrame() {
    if (content_ != nullptr) {
        app::Document& doc = content_->document();
        return content_->frame(doc.run(), doc.camera(), true);
    }
    SceneFrame f;
    f.loadLight = true;
    f.camera.position = kStartCameraPosition;
    f.camera.angles = kStartCameraAngles;
    app::FramePlanInput in;
    in.firstFrame = true;
    f.plan = app::planFrame(in);
    return f;
}

void SceneSurface::paintGL() {
    ++painted_;
    if (content_ != nullptr) {
        content_->refreshSettings();
        if (content_->listsOutdated()) {
            NullProgress quiet;
            buildLists(quiet);
        }
    }
    // The overlay painter leaves its shader program bound; the scene uses none.
    QOpenGLContext::currentContext()->functions()->glUseProgram(0);
    float fov = 0.0f;
    float aspect = 1.0f;
    lens(fov, aspect);
    const qreal ratio = devicePixelRatioF();
    renderer_.setProjection(static_cast<int>(width() * ratio), static_cast<int>(height() * ratio),
                            fov, aspect);
    if (frame_) {
        renderer_.draw(*frame_);
    } else {
        renderer_.draw(idleFrame());
    }
    if (overlay_.empty())
        return;
    QPainter painter(this);
    QFont font = painter.font();
    font.setPixelSize(14);
    font.setBold(true);
    painter.setFont(font);
    // Texts on one line never overlap: each starts a space after the end of
    // the one before it at the latest ("Slow" beside "mm:ss" in this font).
    const QFontMetrics metrics(font);
    int lineY = 0;
    int lineEnd = std::numeric_limits<int>::min();
    for (const app::OverlayText& t : overlay_) {
        const QString text = QString::fromStdString(t.text);
        int x = t.x;
        if (t.y == lineY && lineEnd != std::numeric_limits<int>::min())
            x = std::max(x, lineEnd + metrics.horizontalAdvance(QLatin1Char(' ')));
        painter.setPen(QColor(t.red, t.green, t.blue));
        painter.drawText(x, t.y, text);
        lineY = t.y;
        lineEnd = x + metrics.horizontalAdvance(text);
    }
}

} // namespace kv::views
