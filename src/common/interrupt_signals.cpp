#include "common/interrupt_signals.h"

#include <atomic>
#include <csignal>

#ifdef _WIN32
#include <windows.h>
#else
#include <cerrno>
#include <fcntl.h>
#include <unistd.h>
#endif

namespace kv {

namespace {

/// Written only by the handler (first signal wins), read by the program.
volatile std::sig_atomic_t gSignal = 0;
std::atomic<bool> gInstalled{false};
#ifndef _WIN32
/// Self-pipe: the handler writes to [1], an event loop watches [0].
int gPipe[2] = {-1, -1};
#endif

#ifndef _WIN32
extern "C" void recordSignal(int signal) {
    const int savedErrno = errno;
    if (gSignal == 0)
        gSignal = signal;
    if (gPipe[1] >= 0) {
        const char byte = 1;
        // A full pipe already tells the loop; the result does not matter.
        [[maybe_unused]] const auto written = ::write(gPipe[1], &byte, 1);
    }
    errno = savedErrno;
}

bool makePipe() {
    if (::pipe(gPipe) != 0)
        return false;
    for (const int fd : gPipe) {
        const int flags = ::fcntl(fd, F_GETFL);
        if (flags < 0 || ::fcntl(fd, F_SETFL, flags | O_NONBLOCK) != 0 ||
            ::fcntl(fd, F_SETFD, FD_CLOEXEC) != 0)
            return false;
    }
    return true;
}
#else
/// Ctrl+C and Ctrl+Break stand for SIGINT; a closed console window for SIGHUP;
/// a logoff or shutdown for SIGTERM. The handler runs on a thread of its own:
/// it only records, and returning TRUE keeps the process alive until the
/// program's loop sees the flag (for a close, logoff or shutdown Windows ends
/// the process anyway a few seconds later).
BOOL WINAPI recordConsoleEvent(DWORD event) {
    int signal = 0;
    switch (event) {
    case CTRL_C_EVENT:
    case CTRL_BREAK_EVENT:
        signal = SIGINT;
        break;
    case CTRL_CLOSE_EVENT:
        signal = 1;
        break;
    case CTRL_LOGOFF_EVENT:
    case CTRL_SHUTDOWN_EVENT:
        signal = SIGTERM;
        break;
    default:
        return FALSE;
    }
    if (gSignal == 0)
        gSignal = signal;
    return TRUE;
}
#endif

} // namespace

bool catchInterruptSignals() {
    if (gInstalled.exchange(true))
        return true;
#ifdef _WIN32
    return ::SetConsoleCtrlHandler(recordConsoleEvent, TRUE) != 0;
#else
    if (!makePipe()) {
        gPipe[0] = gPipe[1] = -1;
    }
    struct sigaction action {};
    action.sa_handler = recordSignal;
    sigemptyset(&action.sa_mask);
    // Interrupted reads and writes go on: the program polls the flag instead.
    action.sa_flags = SA_RESTART;
    bool ok = true;
    for (const int s : {SIGINT, SIGTERM, SIGHUP})
        ok = ::sigaction(s, &action, nullptr) == 0 && ok;
    return ok;
#endif
}

int interruptSignal() {
    return gSignal;
}

int interruptWakeDescriptor() {
#ifdef _WIN32
    return -1;
#else
    return gPipe[0];
#endif
}

int interruptExitStatus(int signal) {
    return 128 + signal;
}

int interruptSignalNumber() {
    return SIGINT;
}
int terminateSignalNumber() {
    return SIGTERM;
}
int hangUpSignalNumber() {
#ifdef _WIN32
    return 1;
#else
    return SIGHUP;
#endif
}

void requestStop() {
    if (gSignal == 0)
        gSignal = SIGTERM;
}

void clearInterruptSignal() {
    gSignal = 0;
#ifndef _WIN32
    char drain[64];
    while (gPipe[0] >= 0 && ::read(gPipe[0], drain, sizeof drain) > 0) {
    }
#endif
}

} // namespace kv
