#include "dialogs/wind_dialog.h"

#include "app/settings/units_labels.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace kv::dialogs {

WindDialog::WindDialog(const sim::Environment& environment, float lengthUnitFactor,
                       MessagePort& messages, QWidget* parent)
    : QDialog(parent), environment_(environment), lengthUnitFactor_(lengthUnitFactor),
      messages_(messages) {
    setWindowTitle(QStringLiteral("Wind"));
    setObjectName(QStringLiteral("windDialog"));

    auto* steadyBox = new QGroupBox(QStringLiteral("Steady Wind"), this);
    auto* steadyGrid = new QGridLayout(steadyBox);
    steadyOn_ = new QCheckBox(QStringLiteral("On"), steadyBox);
    steadyOn_->setAccessibleName(QStringLiteral("Steady Wind On"));
    steadyGrid->addWidget(steadyOn_, 0, 0);
    speed_ = addSliderField(steadyGrid, 1,
                            QString::fromLatin1(app::windSpeedLabel(lengthUnitFactor_).data()),
                            app::kWindSpeedSlider, steadyBox);
    direction_ = addSliderField(steadyGrid, 2, QStringLiteral("Direction (deg)"),
                                app::kWindDirectionSlider, steadyBox);

    auto* turbulenceBox = new QGroupBox(QStringLiteral("Turbulence"), this);
    auto* turbulenceGrid = new QGridLayout(turbulenceBox);
    turbulenceOn_ = new QCheckBox(QStringLiteral("On"), turbulenceBox);
    turbulenceOn_->setAccessibleName(QStringLiteral("Turbulence On"));
    turbulenceGrid->addWidget(turbulenceOn_, 0, 0);
    strength_ = addSliderField(turbulenceGrid, 1, QStringLiteral("Strength (%)"),
                               app::kTurbulenceStrengthSlider, turbulenceBox);
    duration_ = addSliderField(turbulenceGrid, 2, QStringLiteral("Duration (%)"),
                               app::kTurbulenceDurationSlider, turbulenceBox);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    auto* reset = buttons->addButton(QStringLiteral("Reset"), QDialogButtonBox::ResetRole);
    connect(reset, &QPushButton::clicked, this, &WindDialog::resetToCalm);
    connect(buttons, &QDialogButtonBox::accepted, this, &WindDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &WindDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(steadyBox);
    layout->addWidget(turbulenceBox);
    layout->addWidget(buttons);

    showForm(app::windForm(environment_, lengthUnitFactor_));
}

void WindDialog::showForm(const app::WindForm& form) {
    steadyOn_->setChecked(form.steadyOn);
    turbulenceOn_->setChecked(form.turbulenceOn);
    showNumber(speed_, app::kFormatWhole, form.speed);
    showNumber(direction_, app::kFormatWhole, form.direction);
    showNumber(strength_, app::kFormatWhole, form.strength);
    showNumber(duration_, app::kFormatWhole, form.duration);
}

void WindDialog::resetToCalm() {
    showForm(app::windFormReset());
}

void WindDialog::accept() {
    const std::array<QLineEdit*, 4> fields{speed_.field, direction_.field, strength_.field,
                                           duration_.field};
    std::array<double, 4> v{};
    if (!readNumbers(fields, v, messages_))
        return;
    app::WindForm form;
    form.steadyOn = steadyOn_->isChecked();
    form.turbulenceOn = turbulenceOn_->isChecked();
    form.speed = v[0];
    form.direction = v[1];
    form.strength = v[2];
    form.duration = v[3];
    app::applyWindForm(form, lengthUnitFactor_, environment_);
    QDialog::accept();
}

} // namespace kv::dialogs
