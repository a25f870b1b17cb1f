#include "dialogs/customize_form.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QSlider>

namespace kv::dialogs {

std::string fieldText(const QLineEdit* field) {
    return field->text().toStdString();
}

QLineEdit* addFieldRow(QGridLayout* grid, int row, const QString& label, const QString& text,
                       QWidget* parent) {
    auto* caption = new QLabel(label, parent);
    auto* field = new QLineEdit(text, parent);
    field->setAlignment(Qt::AlignRight);
    field->setAccessibleName(label);
    caption->setBuddy(field);
    grid->addWidget(caption, row, 0);
    grid->addWidget(field, row, 2);
    return field;
}

SliderLink* addSliderRow(QGridLayout* grid, int row, const QString& label, int minimum, int maximum,
                         const QString& text, QWidget* parent) {
    // Created in reading order, so Tab goes label's slider, then its field.
    auto* caption = new QLabel(label, parent);
    auto* slider = new QSlider(Qt::Horizontal, parent);
    slider->setRange(minimum, maximum);
    slider->setPageStep(10);
    slider->setFocusPolicy(Qt::StrongFocus);
    slider->setAccessibleName(label);
    slider->setMinimumWidth(160);
    auto* field = new QLineEdit(text, parent);
    field->setAlignment(Qt::AlignRight);
    field->setAccessibleName(label);
    field->setMaximumWidth(80);
    caption->setBuddy(field);
    grid->addWidget(caption, row, 0);
    grid->addWidget(slider, row, 1);
    grid->addWidget(field, row, 2);
    auto* link = new SliderLink(slider, field, 1.0, 0, parent);
    link->syncSlider();
    return link;
}

void showRefusal(MessagePort& messages, const app::FormRefusal& refusal, QLineEdit* field) {
    messages.showMessage(refusal.message);
    if (field != nullptr) {
        field->setFocus();
        field->selectAll();
    }
}

} // namespace kv::dialogs
