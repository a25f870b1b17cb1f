#pragma once
/// Port: the program's single message box. The core hands over the text; the
/// desktop shows a modal box, the command-line tool prints a line on stderr.

#include <string>
#include <string_view>

namespace kv {

class MessagePort {
  public:
    virtual ~MessagePort() = default;
    /// Shows one user message (already within the message-box length rule).
    virtual void showMessage(std::string_view text) = 0;
};

/// Discards messages; for callers that have nowhere to show them.
class NullMessages final : public MessagePort {
  public:
    void showMessage(std::string_view) override {}
};

} // namespace kv
