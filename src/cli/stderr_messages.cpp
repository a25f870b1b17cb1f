#include "cli/stderr_messages.h"

#include "cli/terminal_progress.h"

#include <cstdio>

namespace kv::cli {

void StderrMessages::showMessage(std::string_view text) {
    std::string line(text);
    for (char& c : line) {
        if (c == '\n' || c == '\r')
            c = ' ';
    }
    clearProgressLine();
    std::fprintf(stderr, "%s: %s\n", prefix_.c_str(), line.c_str());
    ++count_;
}

} // namespace kv::cli
