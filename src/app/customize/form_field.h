#pragma once
/// Reading the numbers typed into a customization dialog's fields.
///
/// A dialog shows a stored value through a unit factor and a short format
/// ("%0.4f", "%0.0f"), so converting the shown text back would change values
/// the user never touched (a coupling of -0.039215688 shows as "-4"). The rule
/// here: a field whose text is still the text it opened with keeps the stored
/// value exactly; only edited fields are converted. OK without edits therefore
/// writes the record back unchanged, in any working units.

#include "app/dialogs/dialog_entry.h"

#include <cmath>
#include <optional>
#include <string>
#include <string_view>

namespace kv::app {

/// Why OK was refused: the message, and the field to put the cursor in (-1: none).
struct FormRefusal {
    std::string message;
    int field = -1;
};

/// The number in `text` (spaces around it allowed, '.' as the decimal point in
/// every locale); nothing when it is not one finite number.
std::optional<double> parseFieldNumber(std::string_view text);

/// Reads a dialog's fields in turn under the rule above and remembers the
/// first field that held no number.
class FieldReader {
  public:
    /// `stored` when `text` equals `shown`; else `entry(number)`, or `stored`
    /// (with the refusal remembered) when `text` is no number or its value
    /// does not fit the stored single-precision field.
    template <typename Entry>
    float read(int field, const std::string& shown, const std::string& text, float stored,
               Entry entry) {
        if (text == shown)
            return stored;
        const std::optional<double> number = parseFieldNumber(text);
        const float value = number ? static_cast<float>(entry(*number)) : stored;
        if (!number || !std::isfinite(value)) {
            if (!refusal_)
                refusal_ = FormRefusal{std::string(kEnterNumberMessage), field};
            return stored;
        }
        return value;
    }

    /// The first field without a number, if any.
    const std::optional<FormRefusal>& refusal() const { return refusal_; }

  private:
    std::optional<FormRefusal> refusal_;
};

} // namespace kv::app
