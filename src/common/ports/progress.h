#pragma once
/// Port: progress display of a long operation, which the user may abort.

#include <string_view>

namespace kv {

class ProgressPort {
  public:
    virtual ~ProgressPort() = default;
    /// Starts a display titled `title`.
    virtual void start(std::string_view title) = 0;
    /// Reports progress as a fraction 0..1; returns false when the user aborted.
    virtual bool update(double fraction) = 0;
    /// Closes the display.
    virtual void finish() = 0;
};

/// Shows nothing and never aborts.
class NullProgress final : public ProgressPort {
  public:
    void start(std::string_view) override {}
    bool update(double) override { return true; }
    void finish() override {}
};

} // namespace kv
