#include "common/terminal.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <unistd.h>
#endif

namespace kv {

bool stderrIsTerminal() {
#ifdef _WIN32
    // Only a console has a console mode; a redirected handle (file, pipe) has none.
    DWORD mode = 0;
    return ::GetConsoleMode(::GetStdHandle(STD_ERROR_HANDLE), &mode) != 0;
#else
    return ::isatty(STDERR_FILENO) != 0;
#endif
}

void useUtf8Console() {
#ifdef _WIN32
    ::SetConsoleOutputCP(CP_UTF8);
#endif
}

} // namespace kv
