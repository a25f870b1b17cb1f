#pragma once
/// Whether a person watches the program's output, for progress shown in place.

namespace kv {

/// True when standard error goes to a terminal (a Windows console), not to a
/// file or a pipe.
bool stderrIsTerminal();

/// Makes a Windows console show the program's UTF-8 output as such (file
/// names in messages) instead of in its OEM code page; nothing elsewhere.
void useUtf8Console();

} // namespace kv
