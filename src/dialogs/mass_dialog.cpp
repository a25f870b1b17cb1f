#include "dialogs/mass_dialog.h"

#include "dialogs/customize_form.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

namespace kv::dialogs {

MassDialog::MassDialog(const model::MassProperties& mass, std::int32_t englishForceUnits,
                       MessagePort& messages, QWidget* parent)
    : QDialog(parent), mass_(mass), english_(englishForceUnits), messages_(messages),
      shown_(app::massFormFor(mass, englishForceUnits)) {
    setWindowTitle(QStringLiteral("Mass Properties"));
    setObjectName(QStringLiteral("massDialog"));

    auto* valueGrid = new QGridLayout;
    for (std::size_t i = 0; i < values_.size(); ++i) {
        values_[i] = addFieldRow(valueGrid, static_cast<int>(i), toQString(shown_.labels[i]),
                                 toQString(shown_.values[i]), this);
    }
    auto* couplingBox = new QGroupBox(QStringLiteral("Products of Inertia"), this);
    auto* couplingGrid = new QGridLayout(couplingBox);
    for (std::size_t i = 0; i < couplings_.size(); ++i) {
        couplings_[i] =
            addSliderRow(couplingGrid, static_cast<int>(i), toQString(app::kCouplingLabels[i]),
                         -app::kCouplingPercentLimit, app::kCouplingPercentLimit,
                         toQString(shown_.couplings[i]), couplingBox);
    }
    auto* note = new QLabel(toQString(app::kMassNote), this);
    note->setWordWrap(true);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &MassDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &MassDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(valueGrid);
    layout->addWidget(couplingBox);
    layout->addWidget(note);
    layout->addWidget(buttons);
}

QLineEdit* MassDialog::field(int index) const {
    if (index < static_cast<int>(values_.size()))
        return values_.at(static_cast<std::size_t>(index));
    return couplings_.at(static_cast<std::size_t>(index) - values_.size())->field();
}

QSlider* MassDialog::couplingSlider(int index) const {
    return couplings_.at(static_cast<std::size_t>(index))->slider();
}

void MassDialog::accept() {
    app::MassForm edited = shown_;
    for (std::size_t i = 0; i < values_.size(); ++i)
        edited.values[i] = fieldText(values_[i]);
    for (std::size_t i = 0; i < couplings_.size(); ++i)
        edited.couplings[i] = fieldText(couplings_[i]->field());
    if (const auto refusal = app::applyMassForm(shown_, edited, english_, mass_)) {
        showRefusal(messages_, *refusal, refusal->field >= 0 ? field(refusal->field) : nullptr);
        return;
    }
    QDialog::accept();
}

} // namespace kv::dialogs
