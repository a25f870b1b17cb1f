#pragma once
/// The command-line tool's progress port: a bar on stderr when stderr is a
/// terminal and the work has gone on for a while; nothing otherwise, so logs
/// and pipes see only messages.

#include "common/ports/progress.h"

#include <chrono>
#include <memory>
#include <string>

namespace kv::cli {

class TerminalProgress final : public ProgressPort {
  public:
    void start(std::string_view title) override;
    bool update(double fraction) override;
    void finish() override;

  private:
    std::string title_;
    std::chrono::steady_clock::time_point started_;
    int shownPercent_ = -1; ///< percentage on the bar, -1 before it is drawn
};

/// Work shorter than this (s) never shows a bar.
inline constexpr double kProgressDelay = 1.0;

/// A terminal bar when stderr is a terminal, else a port that shows nothing.
std::unique_ptr<ProgressPort> makeProgress();

/// Clears the bar's line, if a bar is on it, so that a message printed next
/// starts its own line; the bar comes back at its next update.
void clearProgressLine();

} // namespace kv::cli
