#pragma once
/// Ctrl+C, a kill or a closed terminal during a command that holds a working
/// folder: the command stops at its next check, its working folder goes with
/// it, nothing is written, "interrupted" goes to stderr and the exit status is
/// the shell's for that signal (130 for SIGINT, 143 for SIGTERM).

#include "common/ports/progress.h"

#include <memory>

namespace kv::cli {

/// From now on the signals are caught instead of ending the program at once.
void catchInterrupts();

/// True once a caught signal arrived.
bool interrupted();

/// Prints "<prefix>: interrupted" on stderr and returns the exit status of
/// the signal that came.
int interruptedExit(const char* prefix);

/// Passes on to `inner` and reports an abort once a signal came, so that a
/// long file operation stops as if ESC had been pressed.
class InterruptibleProgress final : public ProgressPort {
  public:
    explicit InterruptibleProgress(std::unique_ptr<ProgressPort> inner)
        : inner_(std::move(inner)) {}
    void start(std::string_view title) override { inner_->start(title); }
    bool update(double fraction) override { return inner_->update(fraction) && !interrupted(); }
    void finish() override { inner_->finish(); }

  private:
    std::unique_ptr<ProgressPort> inner_;
};

} // namespace kv::cli
