#include "dialogs/aero_dialog.h"

#include "dialogs/customize_form.h"

#include <QButtonGroup>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QVBoxLayout>

namespace kv::dialogs {

AeroDialog::AeroDialog(const model::AeroData& aero, float lengthUnitFactor, MessagePort& messages,
                       QWidget* parent)
    : QDialog(parent), aero_(aero), lengthUnitFactor_(lengthUnitFactor), messages_(messages),
      shown_(app::aeroFormFor(aero, lengthUnitFactor)) {
    setWindowTitle(QStringLiteral("Aerodynamics"));
    setObjectName(QStringLiteral("aeroDialog"));

    auto* modelBox = new QGroupBox(QStringLiteral("Model"), this);
    auto* modelColumn = new QVBoxLayout(modelBox);
    models_ = new QButtonGroup(this);
    for (const app::AeroModelChoice& m : app::kAeroModels) {
        auto* b = new QRadioButton(QString::fromLatin1(m.label), modelBox);
        models_->addButton(b, m.code);
        modelColumn->addWidget(b);
        if (m.code == aero.aeroModel)
            b->setChecked(true);
    }
    auto* geometryBox = new QGroupBox(QStringLiteral("Linear Aero"), this);
    auto* geometryGrid = new QGridLayout(geometryBox);
    for (std::size_t i = 0; i < values_.size(); ++i) {
        values_[i] = addFieldRow(geometryGrid, static_cast<int>(i), toQString(shown_.labels[i]),
                                 toQString(shown_.values[i]), geometryBox);
    }
    auto* top = new QHBoxLayout;
    top->addWidget(modelBox);
    top->addWidget(geometryBox);

    // Lift, drag and pitching moment in the first column, the rest beside them.
    auto* groups = new QGridLayout;
    for (std::size_t g = 0; g < app::kCoefficientGroups.size(); ++g) {
        const app::CoefficientGroup& group = app::kCoefficientGroups[g];
        auto* box = new QGroupBox(toQString(group.title), this);
        auto* grid = new QGridLayout(box);
        for (int i = 0; i < group.count; ++i) {
            const auto k = static_cast<std::size_t>(group.first + i);
            coefficients_[k] = addFieldRow(grid, i, toQString(app::kCoefficientLabels[k]),
                                           toQString(shown_.coefficients[k]), box);
        }
        groups->addWidget(box, static_cast<int>(g % 3), static_cast<int>(g / 3));
    }

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &AeroDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &AeroDialog::reject);
    connect(models_, &QButtonGroup::idToggled, this, [this] { updateEnabling(); });

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addLayout(groups);
    layout->addWidget(buttons);
    updateEnabling();
}

QLineEdit* AeroDialog::field(int index) const {
    if (index < app::kAeroCoefficientField)
        return values_.at(static_cast<std::size_t>(index));
    return coefficients_.at(static_cast<std::size_t>(index - app::kAeroCoefficientField));
}

void AeroDialog::updateEnabling() {
    const int checked = models_->checkedId();
    const bool linear = app::linearFieldsEnabled(checked >= 0 ? checked : aero_.aeroModel);
    for (QLineEdit* f : values_)
        f->setEnabled(linear);
    for (QLineEdit* f : coefficients_)
        f->setEnabled(linear);
}

void AeroDialog::accept() {
    app::AeroForm edited = shown_;
    if (const int checked = models_->checkedId(); checked >= 0)
        edited.aeroModel = checked;
    for (std::size_t i = 0; i < values_.size(); ++i)
        edited.values[i] = fieldText(values_[i]);
    for (std::size_t k = 0; k < coefficients_.size(); ++k)
        edited.coefficients[k] = fieldText(coefficients_[k]);
    if (const auto refusal = app::applyAeroForm(shown_, edited, lengthUnitFactor_, aero_)) {
        showRefusal(messages_, *refusal, refusal->field >= 0 ? field(refusal->field) : nullptr);
        return;
    }
    QDialog::accept();
}

} // namespace kv::dialogs
