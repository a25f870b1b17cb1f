#pragma once
/// The command-line tool's message port: every message of the core becomes one
/// line on stderr, prefixed with the command that showed it.

#include "common/ports/messages.h"
#include "common/ports/notices.h"

#include <string>
#include <string_view>

namespace kv::cli {

/// Notices are lines on stderr as well: there is no status bar.
class StderrMessages final : public MessagePort, public NoticePort {
  public:
    /// `prefix` starts each line, e.g. "kestrovane-cli info".
    explicit StderrMessages(std::string prefix) : prefix_(std::move(prefix)) {}
    /// Line breaks inside a message become spaces so that one message stays one line.
    void showMessage(std::string_view text) override;
    void showNotice(std::string_view text) override;
    /// Messages shown so far (notices not counted).
    int count() const { return count_; }

  private:
    void printLine(std::string_view text) const;

    std::string prefix_;
    int count_ = 0;
};

} // namespace kv::cli
