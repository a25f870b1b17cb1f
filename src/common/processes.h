#pragma once
/// Processes as the working folders need them: this program's id, and whether
/// the program that made a folder is still running.

namespace kv {

/// Id of this running program.
long currentProcessId();

/// True while a process with id `pid` exists (whoever owns it). An id the
/// system has since handed to another program reads as running: a folder is
/// then kept, never removed from under a live program.
bool processIsRunning(long pid);

} // namespace kv
