#pragma once
/// Port: a passing note the user reads without answering. The desktop shows it
/// in the status bar, the command-line tool prints it as a line on stderr.

#include <string_view>

namespace kv {

class NoticePort {
  public:
    virtual ~NoticePort() = default;
    /// Shows one note (one line of text).
    virtual void showNotice(std::string_view text) = 0;
};

} // namespace kv
