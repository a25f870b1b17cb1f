#pragma once
/// A scripted fake of the progress port.

#include "common/ports/progress.h"

#include <string>
#include <string_view>
#include <vector>

namespace kv::test {

/// Records the displays started and answers "abort" at a chosen update.
class ScriptedProgress final : public ProgressPort {
  public:
    /// Aborts at the `abortAt`-th update (1-based) of a display titled
    /// `abortTitle` (any display when empty); never when `abortAt` is 0.
    explicit ScriptedProgress(long abortAt = 0, std::string abortTitle = {})
        : abortAt_(abortAt), abortTitle_(std::move(abortTitle)) {}

    void start(std::string_view title) override {
        titles.emplace_back(title);
        updatesInDisplay_ = 0;
        ++open;
    }
    bool update(double fraction) override {
        lastFraction = fraction;
        ++updates;
        ++updatesInDisplay_;
        const bool matches =
            abortTitle_.empty() || (!titles.empty() && titles.back() == abortTitle_);
        return !(abortAt_ > 0 && matches && updatesInDisplay_ == abortAt_);
    }
    void finish() override { --open; }

    std::vector<std::string> titles;
    long updates = 0;
    double lastFraction = -1.0;
    int open = 0;

  private:
    long abortAt_;
    std::string abortTitle_;
    long updatesInDisplay_ = 0;
};

} // namespace kv::test
