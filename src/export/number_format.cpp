#include "export/number_format.h"

#include <charconv>

namespace kv::exp {

void appendG(std::string& out, double value) {
    // "%g" never needs more than sign, 6 digits, point and a 5-character
    // exponent, or "-nan"/"-inf".
    char buffer[32];
    const auto result =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, 6);
    out.append(buffer, result.ptr);
}

std::string formatG(double value) {
    std::string out;
    appendG(out, value);
    return out;
}

} // namespace kv::exp
