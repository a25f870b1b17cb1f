#pragma once
/// Building blocks of the simulation-condition and preference dialogs: a
/// labelled field (the label is the field's buddy, so Alt+letter and screen
/// readers reach it), a labelled field with its slider kept in step by a
/// SliderLink, and reading the typed numbers back with the one refusal.

#include "app/dialogs/dialog_entry.h"
#include "common/ports/messages.h"

#include <QString>
#include <optional>

class QGridLayout;
class QLabel;
class QLineEdit;
class QSlider;
class QWidget;

namespace kv::dialogs {

class SliderLink;

/// A labelled field, optionally with a slider.
struct FieldRow {
    QLabel* label = nullptr;
    QLineEdit* field = nullptr;
    QSlider* slider = nullptr; ///< null for a field without a slider
    SliderLink* link = nullptr;
};

/// Adds label and field on `row` of `grid` (columns 0 and 1).
FieldRow addField(QGridLayout* grid, int row, const QString& label, QWidget* parent);
/// Adds label, field and a horizontal slider of `range` on `row` (columns 0..2).
FieldRow addSliderField(QGridLayout* grid, int row, const QString& label,
                        const app::SliderRange& range, QWidget* parent);

/// Shows `value` in the field with `format`; a slider follows the text.
void showNumber(const FieldRow& row, const char* format, double value);
void showNumber(QLineEdit* field, const char* format, double value);

/// The number the field holds; when it holds none, "Please enter a number."
/// is shown, the field takes the focus with its text selected, and nothing
/// is returned.
std::optional<double> readNumber(QLineEdit* field, MessagePort& messages);

/// Reads every field of `fields` into `out` in turn; false at the first that
/// holds no number (after readNumber's refusal).
template <typename Fields, typename Values>
bool readNumbers(const Fields& fields, Values& out, MessagePort& messages) {
    for (std::size_t i = 0; i < fields.size(); ++i) {
        const std::optional<double> v = readNumber(fields[i], messages);
        if (!v)
            return false;
        out[i] = *v;
    }
    return true;
}

} // namespace kv::dialogs
