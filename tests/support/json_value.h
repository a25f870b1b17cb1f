#pragma once
/// A small JSON reader for the output of the Node.js checks: enough of
/// the format for objects, arrays, strings without escapes beyond the simple
/// ones, numbers, true, false and null.

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kv::jsontest {

struct JsonValue {
    enum class Kind { Null, Bool, Number, String, Array, Object };
    Kind kind = Kind::Null;
    bool boolean = false;
    double number = 0.0;
    std::string text;
    std::vector<JsonValue> items;
    std::map<std::string, JsonValue> members;

    /// Member `key` of an object; a null value when absent.
    const JsonValue& operator[](const std::string& key) const;
    /// Item `i` of an array; a null value when out of range.
    const JsonValue& operator[](std::size_t i) const;
    bool isNull() const { return kind == Kind::Null; }
};

/// Parses `text`; nothing when it is not one well-formed JSON value.
std::optional<JsonValue> parseJson(std::string_view text);

} // namespace kv::jsontest
