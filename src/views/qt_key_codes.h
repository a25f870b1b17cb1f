#pragma once
/// Qt's key identifiers as the core's key codes.

#include <QKeyEvent>

namespace kv::views {

/// The core key code of `key` (letters as upper-case ASCII, arrows, numeric
/// pad digits when `keypad`, F-keys, ESC); 0 for keys the core does not use.
int coreKeyCode(int key, bool keypad);
inline int coreKeyCode(const QKeyEvent& event) {
    return coreKeyCode(event.key(), (event.modifiers() & Qt::KeypadModifier) != 0);
}

} // namespace kv::views
