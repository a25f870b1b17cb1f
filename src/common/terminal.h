#pragma once
/// Whether a person watches the program's output, for progress shown in place.

namespace kv {

/// True when standard error goes to a terminal (a Windows console), not to a
/// file or a pipe.
bool stderrIsTerminal();

} // namespace kv
