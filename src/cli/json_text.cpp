#include "cli/json_text.h"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdio>

namespace kv::cli {
namespace {

/// Length of the valid UTF-8 sequence starting at `i`, or 0 when it is not one.
std::size_t utf8Length(std::string_view s, std::size_t i) {
    const auto byte = [&](std::size_t k) { return static_cast<std::uint8_t>(s[k]); };
    const std::uint8_t b0 = byte(i);
    std::size_t n = 0;
    std::uint32_t cp = 0;
    if (b0 >= 0xC2 && b0 <= 0xDF) {
        n = 2;
        cp = b0 & 0x1Fu;
    } else if (b0 >= 0xE0 && b0 <= 0xEF) {
        n = 3;
        cp = b0 & 0x0Fu;
    } else if (b0 >= 0xF0 && b0 <= 0xF4) {
        n = 4;
        cp = b0 & 0x07u;
    } else {
        return 0;
    }
    if (i + n > s.size())
        return 0;
    for (std::size_t k = 1; k < n; ++k) {
        if ((byte(i + k) & 0xC0u) != 0x80u)
            return 0;
        cp = (cp << 6) | (byte(i + k) & 0x3Fu);
    }
    // Overlong forms, surrogates and code points above U+10FFFF are not UTF-8.
    const std::uint32_t minimum = n == 3 ? 0x800u : n == 4 ? 0x10000u : 0x80u;
    if (cp < minimum || (cp >= 0xD800u && cp <= 0xDFFFu) || cp > 0x10FFFFu)
        return 0;
    return n;
}

} // namespace

std::string jsonString(std::string_view text) {
    std::string out;
    out.reserve(text.size() + 2);
    out += '"';
    for (std::size_t i = 0; i < text.size();) {
        const auto c = static_cast<std::uint8_t>(text[i]);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += static_cast<char>(c);
            ++i;
        } else if (c < 0x20 || c == 0x7F) {
            char buf[8];
            std::snprintf(buf, sizeof buf, "\\u%04x", static_cast<unsigned>(c));
            out += buf;
            ++i;
        } else if (c < 0x80) {
            out += static_cast<char>(c);
            ++i;
        } else if (const std::size_t n = utf8Length(text, i); n > 0) {
            out.append(text.substr(i, n));
            i += n;
        } else {
            // The byte's value as a code point U+0080..U+00FF, in UTF-8.
            out += static_cast<char>(0xC0u | (c >> 6));
            out += static_cast<char>(0x80u | (c & 0x3Fu));
            ++i;
        }
    }
    out += '"';
    return out;
}

std::string jsonNumber(double value) {
    if (!std::isfinite(value))
        return "null";
    char buf[32];
    const auto r = std::to_chars(buf, buf + sizeof buf, value);
    return std::string(buf, r.ptr);
}

} // namespace kv::cli
