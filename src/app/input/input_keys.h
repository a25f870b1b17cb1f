#pragma once
/// Key codes the core understands. The desktop and the control script map their
/// own key identifiers onto these; letters are their upper-case ASCII codes.

namespace kv::app {

inline constexpr int kKeyNone = 0;
inline constexpr int kKeyEscape = 0x1B;
inline constexpr int kKeyLeft = 0x25;
inline constexpr int kKeyUp = 0x26;
inline constexpr int kKeyRight = 0x27;
inline constexpr int kKeyDown = 0x28;
inline constexpr int kKeyPad2 = 0x62;
inline constexpr int kKeyPad4 = 0x64;
inline constexpr int kKeyPad6 = 0x66;
inline constexpr int kKeyPad8 = 0x68;
inline constexpr int kKeyF1 = 0x70;
inline constexpr int kKeyF2 = 0x71;
inline constexpr int kKeyF3 = 0x72;
inline constexpr int kKeyF4 = 0x73;
inline constexpr int kKeyF5 = 0x74;
inline constexpr int kKeyF6 = 0x75;
inline constexpr int kKeyF11 = 0x7A;
inline constexpr int kKeyF12 = 0x7B;
/// Key codes are below this bound.
inline constexpr int kKeyCodeLimit = 256;

} // namespace kv::app
