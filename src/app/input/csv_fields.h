#pragma once
/// Reading the comma-separated text files a user writes by hand (control
/// scripts, paths): one line's fields, numbers in them, and messages that
/// name the line and quote what was found.

#include <array>
#include <cstddef>
#include <string>
#include <string_view>

namespace kv::app::csv {

/// `s` without blanks around it (and a CR left by a Windows line end).
std::string_view trim(std::string_view s);

/// The finite number `s` holds ('.' as the decimal point in every locale, a
/// leading '+' allowed); false when it is not one.
bool parseDouble(std::string_view s, double& out);

/// Text of a field for a message, cut short so a damaged file cannot flood it.
std::string quoted(std::string_view s);

/// "line N: what".
std::string lineError(std::size_t line, const std::string& what);

/// Splits `text` at commas into trimmed fields; false when it has more than N.
template <std::size_t N>
bool splitFields(std::string_view text, std::array<std::string_view, N>& fields,
                 std::size_t& count) {
    count = 0;
    while (true) {
        const std::size_t comma = text.find(',');
        if (count == N)
            return false;
        fields[count++] = trim(text.substr(0, comma));
        if (comma == std::string_view::npos)
            return true;
        text.remove_prefix(comma + 1);
    }
}

} // namespace kv::app::csv
