#include "app/input/csv_fields.h"

#include <cctype>
#include <charconv>
#include <cmath>

namespace kv::app::csv {

std::string_view trim(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t'))
        s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r'))
        s.remove_suffix(1);
    return s;
}

bool parseDouble(std::string_view s, double& out) {
    if (!s.empty() && s.front() == '+')
        s.remove_prefix(1);
    if (s.empty())
        return false;
    const auto r = std::from_chars(s.data(), s.data() + s.size(), out);
    return r.ec == std::errc() && r.ptr == s.data() + s.size() && std::isfinite(out);
}

std::string quoted(std::string_view s) {
    constexpr std::size_t kShown = 24;
    std::string out = "'";
    for (std::size_t i = 0; i < s.size() && i < kShown; ++i) {
        const auto c = static_cast<unsigned char>(s[i]);
        out += std::isprint(c) ? static_cast<char>(c) : '?';
    }
    if (s.size() > kShown)
        out += "...";
    return out + "'";
}

std::string lineError(std::size_t line, const std::string& what) {
    return "line " + std::to_string(line) + ": " + what;
}

} // namespace kv::app::csv
