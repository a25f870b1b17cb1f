#include "cli/stderr_messages.h"

#include "cli/terminal_progress.h"

#include <cstdio>

namespace kv::cli {

void StderrMessages::showMessage(std::string_view text) {
    printLine(text);
    ++count_;
}

void StderrMessages::showNotice(std::string_view text) {
    printLine(text);
}

void StderrMessages::printLine(std::string_view text) const {
    std::string line(text);
    for (char& c : line) {
        if (c == '\n' || c == '\r')
            c = ' ';
    }
    clearProgressLine();
    std::fprintf(stderr, "%s: %s\n", prefix_.c_str(), line.c_str());
}

} // namespace kv::cli
