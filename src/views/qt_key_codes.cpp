#include "views/qt_key_codes.h"

#include "app/input/input_keys.h"

namespace kv::views {

int coreKeyCode(int key, bool keypad) {
    if (key >= Qt::Key_A && key <= Qt::Key_Z)
        return 'A' + (key - Qt::Key_A);
    if (keypad) {
        switch (key) {
        case Qt::Key_2:
            return app::kKeyPad2;
        case Qt::Key_4:
            return app::kKeyPad4;
        case Qt::Key_6:
            return app::kKeyPad6;
        case Qt::Key_8:
            return app::kKeyPad8;
        default:
            break;
        }
    }
    if (key >= Qt::Key_0 && key <= Qt::Key_9)
        return '0' + (key - Qt::Key_0);
    switch (key) {
    case Qt::Key_Escape:
        return app::kKeyEscape;
    case Qt::Key_Left:
        return app::kKeyLeft;
    case Qt::Key_Up:
        return app::kKeyUp;
    case Qt::Key_Right:
        return app::kKeyRight;
    case Qt::Key_Down:
        return app::kKeyDown;
    case Qt::Key_F1:
        return app::kKeyF1;
    case Qt::Key_F2:
        return app::kKeyF2;
    case Qt::Key_F3:
        return app::kKeyF3;
    case Qt::Key_F4:
        return app::kKeyF4;
    case Qt::Key_F5:
        return app::kKeyF5;
    case Qt::Key_F6:
        return app::kKeyF6;
    case Qt::Key_F11:
        return app::kKeyF11;
    case Qt::Key_F12:
        return app::kKeyF12;
    default:
        return app::kKeyNone;
    }
}

} // namespace kv::views
