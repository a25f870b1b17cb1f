#pragma once
/// The desktop program's own command-line options. `--help` and `--version`
/// are answered before Qt starts, so they work without a display.

#include <optional>

namespace kv::gui {

/// Usage text of `kestrovane --help`.
extern const char* const kDesktopUsage;

/// Prints the usage or the version when argv asks for one and returns the
/// exit status; empty when the program should start.
std::optional<int> answerInfoOption(int argc, const char* const* argv);

} // namespace kv::gui
