#pragma once
/// What the simulation-condition and preference dialogs share: reading a
/// typed number, printing one without a minus sign on a zero, and the range
/// and scale of a slider paired with a field.

#include <optional>
#include <string>
#include <string_view>

namespace kv::app {

/// Refusal of OK while a field holds no number.
inline constexpr const char* kEnterNumberMessage = "Please enter a number.";

/// The finite number `text` holds (blanks around it allowed), else nothing.
std::optional<double> parseEntry(std::string_view text);

/// `value` printed with a printf `format` ("%0.4f", "%0.0f", ...); a value
/// that prints as zero never shows a minus sign ("-0.0000" reads as a fault).
std::string formatEntry(const char* format, double value);

/// A slider paired with a field: its positions and how many positions one
/// unit of the field's number moves it (position = trunc(number x scale)).
struct SliderRange {
    int minimum = 0;
    int maximum = 100;
    double scale = 1.0;
    /// Decimals the field shows when the slider writes it.
    int decimals = 0;
};

} // namespace kv::app
