#include "cli/terminal_progress.h"

#include "common/terminal.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace kv::cli {

namespace {

/// Characters of the bar between its brackets.
constexpr int kBarWidth = 40;

/// Width (characters) of the bar line on the terminal now; 0 when none is shown.
/// The tool runs one command on one thread, so one bar at most is on screen.
int shownWidth = 0;

void clearLine() {
    if (shownWidth > 0) {
        std::fprintf(stderr, "\r%*s\r", shownWidth, "");
        std::fflush(stderr);
        shownWidth = 0;
    }
}

} // namespace

void TerminalProgress::start(std::string_view title) {
    title_ = std::string(title);
    started_ = std::chrono::steady_clock::now();
    shownPercent_ = -1;
}

bool TerminalProgress::update(double fraction) {
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - started_).count();
    if (shownPercent_ < 0 && seconds < kProgressDelay)
        return true;
    const double f = std::isfinite(fraction) ? std::clamp(fraction, 0.0, 1.0) : 0.0;
    const int percent = static_cast<int>(f * 100.0);
    if (percent == shownPercent_ && shownWidth > 0)
        return true;
    shownPercent_ = percent;
    const int filled = static_cast<int>(f * kBarWidth);
    std::string bar(static_cast<std::size_t>(filled), '#');
    bar.resize(kBarWidth, ' ');
    shownWidth = std::fprintf(stderr, "\r%s [%s] %3d%%", title_.c_str(), bar.c_str(), percent);
    std::fflush(stderr);
    return true;
}

void TerminalProgress::finish() {
    clearLine();
    shownPercent_ = -1;
}

void clearProgressLine() {
    clearLine();
}

std::unique_ptr<ProgressPort> makeProgress() {
    if (stderrIsTerminal())
        return std::make_unique<TerminalProgress>();
    return std::make_unique<NullProgress>();
}

} // namespace kv::cli
