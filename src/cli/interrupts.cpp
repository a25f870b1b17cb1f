#include "cli/interrupts.h"

#include "cli/terminal_progress.h"
#include "common/interrupt_signals.h"

#include <cstdio>

namespace kv::cli {

void catchInterrupts() {
    catchInterruptSignals();
}

bool interrupted() {
    return interruptSignal() != 0;
}

int interruptedExit(const char* prefix) {
    clearProgressLine();
    std::fprintf(stderr, "%s: interrupted\n", prefix);
    return interruptExitStatus(interruptSignal());
}

} // namespace kv::cli
