#include "dialogs/engine_dialog.h"

#include "dialogs/customize_form.h"

#include <QButtonGroup>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLineEdit>
#include <QRadioButton>
#include <QVBoxLayout>

namespace kv::dialogs {

EngineDialog::EngineDialog(const model::ObjectRecord& object, std::int32_t englishForceUnits,
                           MessagePort& messages, QWidget* parent)
    : QDialog(parent), record_(object), model_(object, englishForceUnits), messages_(messages) {
    setWindowTitle(QStringLiteral("Engine"));
    setObjectName(QStringLiteral("engineDialog"));

    auto* typeBox = new QGroupBox(QStringLiteral("Engine Type"), this);
    auto* typeGrid = new QGridLayout(typeBox);
    engines_ = new QButtonGroup(this);
    for (std::size_t i = 0; i < app::kEngineChoices.size(); ++i) {
        const app::EngineChoice& c = app::kEngineChoices[i];
        auto* b = new QRadioButton(toQString(app::engineLabel(c, englishForceUnits)), typeBox);
        engines_->addButton(b, c.type);
        typeGrid->addWidget(b, static_cast<int>(i % 5), static_cast<int>(i / 5));
        if (c.type == object.engineType)
            b->setChecked(true);
    }
    auto* powerGrid = new QGridLayout;
    power_ =
        addFieldRow(powerGrid, 0, QStringLiteral("Power"), toQString(model_.openedPower()), this);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &EngineDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &EngineDialog::reject);
    // Toggles cover clicks and the arrow keys alike.
    connect(engines_, &QButtonGroup::idToggled, this, [this](int type, bool checked) {
        if (checked)
            choose(type);
    });

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(typeBox);
    layout->addLayout(powerGrid);
    layout->addWidget(buttons);
}

void EngineDialog::choose(int type) {
    if (type == model_.type())
        return;
    power_->setText(toQString(model_.choose(type, fieldText(power_))));
}

void EngineDialog::accept() {
    if (const auto refusal = model_.accept(fieldText(power_), record_)) {
        showRefusal(messages_, *refusal, power_);
        return;
    }
    QDialog::accept();
}

} // namespace kv::dialogs
