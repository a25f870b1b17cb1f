#pragma once
/// Rows shared by the Object > Customize dialogs: a labelled field, and a
/// labelled slider and field kept together by a SliderLink. Each label is its
/// field's buddy and names it for assistive technology; the slider carries
/// the same name. Tab reaches a row's slider, then its field.

#include "app/customize/form_field.h"
#include "common/ports/messages.h"
#include "dialogs/slider_link.h"

#include <QString>
#include <string>
#include <string_view>

class QGridLayout;
class QLabel;
class QLineEdit;
class QSlider;
class QWidget;

namespace kv::dialogs {

inline QString toQString(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

/// The field's text as the core models take it.
std::string fieldText(const QLineEdit* field);

/// Adds "label | field" at `row` of `grid` (columns 0 and 2; a slider row
/// puts its slider in column 1). Returns the field, showing `text`.
QLineEdit* addFieldRow(QGridLayout* grid, int row, const QString& label, const QString& text,
                       QWidget* parent);

/// Adds "label | slider | field" at `row` with the slider over
/// [minimum, maximum] linked to the field (whole numbers, "%0.0f"), the
/// slider set from `text`. The link is parented to `parent`.
SliderLink* addSliderRow(QGridLayout* grid, int row, const QString& label, int minimum, int maximum,
                         const QString& text, QWidget* parent);

/// Shows a refusal of OK and puts the cursor in the field it names (if any).
void showRefusal(MessagePort& messages, const app::FormRefusal& refusal, QLineEdit* field);

} // namespace kv::dialogs
