#pragma once
/// The command-line tool's message port: every message of the core becomes one
/// line on stderr, prefixed with the command that showed it.

#include "common/ports/messages.h"

#include <string>
#include <string_view>

namespace kv::cli {

class StderrMessages final : public MessagePort {
  public:
    /// `prefix` starts each line, e.g. "kestrovane-cli info".
    explicit StderrMessages(std::string prefix) : prefix_(std::move(prefix)) {}
    /// Line breaks inside a message become spaces so that one message stays one line.
    void showMessage(std::string_view text) override;
    /// Messages shown so far.
    int count() const { return count_; }

  private:
    std::string prefix_;
    int count_ = 0;
};

} // namespace kv::cli
