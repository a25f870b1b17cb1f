#include "common/message_wrap.h"

#include "common/ports/messages.h"

namespace kv {

std::vector<std::string> wrapMessage(std::string_view text) {
    if (text.size() > kMessageMaxChars) {
        text = text.substr(0, kMessageMaxChars);
    }
    std::vector<std::string> lines;
    while (!text.empty() && lines.size() < kMessageMaxLines) {
        // An explicit line end in the text also ends a line.
        const std::size_t nl = text.find('\n');
        if (nl != std::string_view::npos && nl <= kMessageLineChars) {
            lines.emplace_back(text.substr(0, nl));
            text.remove_prefix(nl + 1);
            continue;
        }
        if (text.size() <= kMessageLineChars) {
            lines.emplace_back(text);
            break;
        }
        // Last space at or before the limit; a word longer than a line is cut.
        std::size_t cut = text.rfind(' ', kMessageLineChars);
        if (cut == std::string_view::npos || cut == 0) {
            lines.emplace_back(text.substr(0, kMessageLineChars));
            text.remove_prefix(kMessageLineChars);
        } else {
            lines.emplace_back(text.substr(0, cut));
            text.remove_prefix(cut + 1);
        }
    }
    return lines;
}

std::string wrapMessageText(std::string_view text) {
    std::string out;
    for (const auto& line : wrapMessage(text)) {
        if (!out.empty()) out += '\n';
        out += line;
    }
    return out;
}

void showWrappedMessage(MessagePort& messages, std::string_view text) {
    messages.showMessage(wrapMessageText(text));
}

} // namespace kv
