#pragma once
/// The requests to stop that reach a program from outside it: Ctrl+C at the
/// terminal (SIGINT), a polite kill or a shutdown (SIGTERM) and a closed
/// terminal or ended session (SIGHUP).
///
/// The handlers only record which signal came and write one byte to a pipe;
/// everything else (ending the run, writing files, removing folders) happens
/// in the program's own loop, which polls `interruptSignal()` or waits on
/// `interruptWakeDescriptor()`. Nothing else is safe inside a handler.

namespace kv {

/// Catches SIGINT, SIGTERM and SIGHUP from now on (once per process; later
/// calls do nothing). False when the handlers could not be installed, in
/// which case the signals keep ending the program at once.
bool catchInterruptSignals();

/// The first of the caught signals received so far, 0 when none came.
int interruptSignal();

/// A descriptor that becomes readable once a caught signal arrived, for an
/// event loop to watch; -1 before `catchInterruptSignals()` or where there is
/// no such descriptor.
int interruptWakeDescriptor();

/// The status a shell reports for a program that `signal` ended: 128 plus
/// its number (130 for SIGINT, 143 for SIGTERM).
int interruptExitStatus(int signal);

/// Signal numbers of this platform, for messages and tests.
int interruptSignalNumber(); ///< SIGINT
int terminateSignalNumber(); ///< SIGTERM
int hangUpSignalNumber();    ///< SIGHUP

/// Records a stop request that came some other way (the desktop session
/// logging out) as if SIGTERM had come, so that whatever polls for signals
/// stops the same way.
void requestStop();

/// Forgets a recorded signal (tests, and a program that handled one and goes on).
void clearInterruptSignal();

} // namespace kv
