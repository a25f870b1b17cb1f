#include "app/dialogs/dialog_entry.h"

#include "app/settings/units_labels.h"

#include <cctype>
#include <charconv>
#include <cmath>

namespace kv::app {

std::optional<double> parseEntry(std::string_view text) {
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.front())))
        text.remove_prefix(1);
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.back())))
        text.remove_suffix(1);
    // from_chars takes no leading '+'; a typed one is harmless, "+-" is no number.
    if (text.size() > 1 && text.front() == '+' && text[1] != '-')
        text.remove_prefix(1);
    if (text.empty())
        return std::nullopt;
    double value = 0.0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || !std::isfinite(value))
        return std::nullopt;
    return value;
}

std::string formatEntry(const char* format, double value) {
    std::string text = formatNumber(format, value);
    if (!text.empty() && text.front() == '-' &&
        text.find_first_not_of("0.", 1) == std::string::npos) {
        text.erase(0, 1);
    }
    return text;
}

} // namespace kv::app
