#include "geometry/dxf_number.h"

#include <charconv>
#include <cstdio>
#include <cstring>
#include <system_error>

namespace kv::geom {

namespace {

/// Characters the C library's isspace accepts in the "C" locale.
constexpr bool isCSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

constexpr bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

/// The reference conversion: the C library itself on a terminated copy.
double scanWithLibrary(std::string_view line) {
    char text[257];
    const std::size_t n = line.size() < sizeof text - 1 ? line.size() : sizeof text - 1;
    std::memcpy(text, line.data(), n);
    text[n] = '\0';
    double value = 0.0;
    if (std::sscanf(text, "%lf", &value) != 1) {
        return 0.0;
    }
    return value;
}

} // namespace

double scanDxfValue(std::string_view line) {
    // Fast path for the plain decimal form [-]digits[.digits][e[+-]digits]
    // ending the line or followed by white space: both conversions round
    // correctly, so from_chars gives the same double as "%lf" there. Every
    // other shape (a '+' sign, hexadecimal, inf/nan, out-of-range values,
    // trailing text that scanf might still consume) goes to the library.
    const char* p = line.data();
    const char* const end = p + line.size();
    while (p < end && isCSpace(*p)) {
        ++p;
    }
    const char* const start = p;
    if (p < end && *p == '-') {
        ++p;
    }
    const char* const digits = p;
    while (p < end && isDigit(*p)) {
        ++p;
    }
    std::size_t mantissaDigits = static_cast<std::size_t>(p - digits);
    if (p < end && *p == '.') {
        ++p;
        const char* const fraction = p;
        while (p < end && isDigit(*p)) {
            ++p;
        }
        mantissaDigits += static_cast<std::size_t>(p - fraction);
    }
    if (mantissaDigits == 0) {
        return scanWithLibrary(line);
    }
    if (p < end && (*p == 'e' || *p == 'E')) {
        ++p;
        if (p < end && (*p == '+' || *p == '-')) {
            ++p;
        }
        const char* const exponent = p;
        while (p < end && isDigit(*p)) {
            ++p;
        }
        if (p == exponent) {
            return scanWithLibrary(line);
        }
    }
    if (p < end && !isCSpace(*p)) {
        return scanWithLibrary(line);
    }
    double value = 0.0;
    const auto result = std::from_chars(start, p, value, std::chars_format::general);
    if (result.ec != std::errc() || result.ptr != p) {
        return scanWithLibrary(line);
    }
    return value;
}

} // namespace kv::geom
