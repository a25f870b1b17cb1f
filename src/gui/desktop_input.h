#pragma once
/// The desktop's controller devices for a run: the keyboard and the mouse over
/// the camera view through Qt, joystick 0 and a gamepad through SDL2. While a run holds the
/// program, window events are pumped once a frame; key and mouse-button events
/// are queued here instead of reaching the menus, and one is handed over per
/// frame. A modal window shown meanwhile (a message at the end of the run)
/// gets its keys as usual.

#include "app/input/input_controls.h"

#include <QObject>
#include <bitset>
#include <deque>

namespace kv::views {
class CameraView;
}

namespace kv::gui {

class SdlGamepad;
class SdlJoystick;

class DesktopInput final : public QObject, public app::DeviceSource {
    Q_OBJECT
  public:
    /// Reads the mouse over `view`; `joystick` and `gamepad` may be null
    /// (none read). With `mirrorJoystick` the system cursor follows the
    /// joystick across the screen, as the stick's position.
    DesktopInput(views::CameraView& view, SdlJoystick* joystick, bool mirrorJoystick,
                 SdlGamepad* gamepad = nullptr);
    ~DesktopInput() override;

    /// Pumps the window events, then samples keys, modifiers, the cursor and
    /// the joystick, and hands over the oldest queued event.
    void sample(app::DeviceState& devices) override;

    /// Shows the direction cursor over the camera view.
    void showCursor(app::DirectionCursor cursor);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    bool overView(QObject* watched) const;

    /// An event waiting for its frame, with the Alt state it came with, so
    /// that Alt+F4 selects the Alt mode even when Alt is up by that frame.
    struct QueuedEvent {
        app::InputEvent event;
        bool alt = false;
    };

    views::CameraView& view_;
    SdlJoystick* joystick_;
    bool mirrorJoystick_;
    SdlGamepad* gamepad_;
    std::deque<QueuedEvent> queue_;
    std::bitset<app::kKeyCodeLimit> keysDown_;
    bool altDown_ = false; ///< Alt as the last key event had it
};

} // namespace kv::gui
