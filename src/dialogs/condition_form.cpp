#include "dialogs/condition_form.h"

#include "app/settings/units_labels.h"
#include "common/message_wrap.h"
#include "dialogs/slider_link.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QSlider>

namespace kv::dialogs {

FieldRow addField(QGridLayout* grid, int row, const QString& label, QWidget* parent) {
    FieldRow r;
    r.label = new QLabel(label, parent);
    r.field = new QLineEdit(parent);
    r.field->setAlignment(Qt::AlignRight);
    r.field->setMinimumWidth(80);
    r.field->setAccessibleName(label);
    r.label->setBuddy(r.field);
    grid->addWidget(r.label, row, 0);
    grid->addWidget(r.field, row, 1);
    return r;
}

FieldRow addSliderField(QGridLayout* grid, int row, const QString& label,
                        const app::SliderRange& range, QWidget* parent) {
    FieldRow r = addField(grid, row, label, parent);
    r.slider = new QSlider(Qt::Horizontal, parent);
    r.slider->setRange(range.minimum, range.maximum);
    r.slider->setMinimumWidth(140);
    r.slider->setAccessibleName(label);
    const int span = range.maximum - range.minimum;
    r.slider->setPageStep(std::max(1, span / 10));
    grid->addWidget(r.slider, row, 2);
    r.link = new SliderLink(r.slider, r.field, range.scale, range.decimals, parent);
    return r;
}

void showNumber(QLineEdit* field, const char* format, double value) {
    field->setText(QString::fromStdString(app::formatEntry(format, value)));
}

void showNumber(const FieldRow& row, const char* format, double value) {
    showNumber(row.field, format, value);
    if (row.link != nullptr)
        row.link->syncSlider();
}

std::optional<double> readNumber(QLineEdit* field, MessagePort& messages) {
    const std::optional<double> v = app::parseEntry(field->text().toStdString());
    if (!v) {
        showWrappedMessage(messages, app::kEnterNumberMessage);
        field->setFocus();
        field->selectAll();
    }
    return v;
}

} // namespace kv::dialogs
