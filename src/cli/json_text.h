#pragma once
/// Small helpers for writing JSON text on the command line's stdout.

#include <string>
#include <string_view>

namespace kv::cli {

/// `text` as a JSON string, quotes included. Quotes, backslashes and control
/// characters are escaped; valid UTF-8 passes through; a byte that is not part
/// of valid UTF-8 (names in older files are single-byte text) is written as the
/// code point of the same value, so the output is always valid UTF-8.
std::string jsonString(std::string_view text);

/// A finite number in the shortest form that reads back to the same double;
/// `null` for infinities and NaN, which JSON cannot hold.
std::string jsonNumber(double value);

} // namespace kv::cli
