#include "gui/desktop_input.h"

#include "gui/sdl_gamepad.h"
#include "gui/sdl_joystick.h"
#include "views/camera_view.h"
#include "views/qt_key_codes.h"

#include <QApplication>
#include <QCursor>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QScreen>

namespace kv::gui {

namespace {

/// Events queued beyond this are dropped: a run that fell far behind must not
/// replay seconds of stale keys.
constexpr std::size_t kMaxQueuedEvents = 64;

} // namespace

DesktopInput::DesktopInput(views::CameraView& view, SdlJoystick* joystick, bool mirrorJoystick,
                           SdlGamepad* gamepad)
    : view_(view), joystick_(joystick), mirrorJoystick_(mirrorJoystick), gamepad_(gamepad) {
    qApp->installEventFilter(this);
}

DesktopInput::~DesktopInput() {
    qApp->removeEventFilter(this);
    view_.unsetCursor();
}

bool DesktopInput::overView(QObject* watched) const {
    for (QObject* o = watched; o != nullptr; o = o->parent())
        if (o == &view_)
            return true;
    return false;
}

bool DesktopInput::eventFilter(QObject* watched, QEvent* event) {
    auto queue = [this](app::InputEventKind kind, int key, bool alt) {
        if (queue_.size() < kMaxQueuedEvents)
            queue_.push_back({{kind, key}, alt});
    };
    // A message box shown by the run (instability, full record memory) must
    // close from the keyboard: its events are not the run's.
    if (QApplication::activeModalWidget() != nullptr)
        return false;
    switch (event->type()) {
    case QEvent::ShortcutOverride:
        // Menu accelerators stay quiet during a run: keys belong to the run.
        event->accept();
        return true;
    case QEvent::KeyPress:
    case QEvent::KeyRelease: {
        const auto* k = static_cast<QKeyEvent*>(event);
        const int code = views::coreKeyCode(*k);
        const bool down = event->type() == QEvent::KeyPress;
        // Some platforms still report Alt among the modifiers of its own release.
        altDown_ = k->key() == Qt::Key_Alt ? down : (k->modifiers() & Qt::AltModifier) != 0;
        if (code > 0 && code < app::kKeyCodeLimit) {
            // A held key's auto-repeat releases are not releases: the arrow
            // keys of the keyboard controller must read as held throughout.
            if (!k->isAutoRepeat())
                keysDown_.set(static_cast<std::size_t>(code), down);
            if (!(k->isAutoRepeat() && !down))
                queue(down ? app::InputEventKind::KeyDown : app::InputEventKind::KeyUp, code,
                      altDown_);
        }
        return true;
    }
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick: {
        if (!overView(watched))
            return false;
        const auto* m = static_cast<QMouseEvent*>(event);
        const bool down = event->type() != QEvent::MouseButtonRelease;
        if (m->button() == Qt::LeftButton)
            queue(down ? app::InputEventKind::LeftDown : app::InputEventKind::LeftUp, 0, false);
        else if (m->button() == Qt::RightButton)
            queue(down ? app::InputEventKind::RightDown : app::InputEventKind::RightUp, 0, false);
        return true;
    }
    case QEvent::Close:
        // The window is never closed during a run. Alt+F4, which the window
        // manager turns into a close, selects camera mode 3; any other close
        // ends the run first.
        if (watched->isWidgetType() && static_cast<QWidget*>(watched)->isWindow()) {
            const bool alt =
                altDown_ || (QGuiApplication::queryKeyboardModifiers() & Qt::AltModifier) != 0;
            if (alt)
                queue(app::InputEventKind::KeyDown, app::kKeyF4, true);
            else
                queue(app::InputEventKind::KeyDown, app::kKeyEscape, false);
            event->ignore();
            return true;
        }
        return false;
    default:
        return false;
    }
}

void DesktopInput::sample(app::DeviceState& d) {
    QCoreApplication::processEvents(QEventLoop::AllEvents);
    d = app::DeviceState{};
    bool eventAlt = false;
    if (!queue_.empty()) {
        d.event = queue_.front().event;
        eventAlt = queue_.front().alt;
        queue_.pop_front();
    }
    const Qt::KeyboardModifiers mods = QGuiApplication::queryKeyboardModifiers();
    d.altDown = eventAlt || (mods & Qt::AltModifier) != 0;
    d.ctrlDown = (mods & Qt::ControlModifier) != 0;
    d.keysDown = keysDown_;
    const QPoint p = view_.mapFromGlobal(QCursor::pos());
    d.cursorX = static_cast<float>(p.x());
    d.cursorY = static_cast<float>(p.y());
    d.windowWidth = static_cast<float>(view_.width());
    d.windowHeight = static_cast<float>(view_.height());
    if (gamepad_ != nullptr)
        gamepad_->sample(d);
    if (joystick_ == nullptr)
        return;
    joystick_->sample(d);
    if (mirrorJoystick_ && d.joystickValid && d.joystickXMax > d.joystickXMin &&
        d.joystickYMax > d.joystickYMin) {
        if (QScreen* screen = view_.screen()) {
            const QRect area = screen->geometry();
            const float x = (d.joystickX - d.joystickXMin) / (d.joystickXMax - d.joystickXMin);
            const float y = (d.joystickY - d.joystickYMin) / (d.joystickYMax - d.joystickYMin);
            QCursor::setPos(screen, area.left() + static_cast<int>(x * area.width()),
                            area.top() + static_cast<int>(y * area.height()));
        }
    }
}

void DesktopInput::showCursor(app::DirectionCursor cursor) {
    switch (cursor) {
    case app::DirectionCursor::None:
        view_.setCursor(Qt::CrossCursor);
        break;
    case app::DirectionCursor::Vertical:
        view_.setCursor(Qt::SizeVerCursor);
        break;
    case app::DirectionCursor::Horizontal:
        view_.setCursor(Qt::SizeHorCursor);
        break;
    case app::DirectionCursor::Both:
        view_.setCursor(Qt::SizeAllCursor);
        break;
    }
}

} // namespace kv::gui
