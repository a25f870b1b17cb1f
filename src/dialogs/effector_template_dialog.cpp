#include "dialogs/effector_template_dialog.h"

#include "dialogs/customize_form.h"
#include "dialogs/vehicle_picture.h"

#include <QButtonGroup>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace kv::dialogs {

EffectorTemplateDialog::EffectorTemplateDialog(const model::ObjectRecord& object,
                                               float lengthUnitFactor, MessagePort& messages,
                                               QWidget* parent)
    : QDialog(parent), object_(object), lengthUnitFactor_(lengthUnitFactor), messages_(messages),
      form_(app::templateFormFor(object, lengthUnitFactor)) {
    setWindowTitle(toQString(form_.title));
    setObjectName(QStringLiteral("effectorTemplateDialog"));

    auto* picture = new VehiclePicture(form_.vehicleType, toQString(form_.unitName), this);
    auto* grid = new QGridLayout;
    int row = 0;
    const bool helicopter = form_.vehicleType == model::kVehicleHelicopter;
    for (std::size_t i = 0; i < form_.values.size(); ++i) {
        if (helicopter && static_cast<int>(i) == app::kHeliGearForward) {
            auto* gearBox = new QGroupBox(QStringLiteral("Landing Gear"), this);
            auto* gearRow = new QHBoxLayout(gearBox);
            gear_ = new QButtonGroup(this);
            const std::pair<int, const char*> choices[] = {
                {app::kGearNone, "None"}, {app::kGearTires, "Tires"}, {app::kGearSkids, "Skids"}};
            for (const auto& [id, text] : choices) {
                auto* b = new QRadioButton(QString::fromLatin1(text), gearBox);
                gear_->addButton(b, id);
                gearRow->addWidget(b);
                if (id == form_.gear)
                    b->setChecked(true);
            }
            grid->addWidget(gearBox, row++, 0, 1, 3);
            connect(gear_, &QButtonGroup::idToggled, this, [this] { updateGearFields(); });
        }
        QLineEdit* field =
            addFieldRow(grid, row++, toQString(form_.labels[i]), toQString(form_.values[i]), this);
        field->setMinimumWidth(90);
        fields_.push_back(field);
    }

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    more_ = buttons->addButton(QStringLiteral("More"), QDialogButtonBox::ActionRole);
    more_->setAutoDefault(false);
    connect(buttons, &QDialogButtonBox::accepted, this, &EffectorTemplateDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &EffectorTemplateDialog::reject);
    connect(more_, &QPushButton::clicked, this, [this] { done(kMore); });

    auto* fieldsColumn = new QVBoxLayout;
    fieldsColumn->addLayout(grid);
    fieldsColumn->addStretch();
    auto* top = new QHBoxLayout;
    top->addWidget(picture, 1);
    top->addLayout(fieldsColumn);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(buttons);
    updateGearFields();
}

void EffectorTemplateDialog::updateGearFields() {
    if (gear_ == nullptr)
        return;
    const bool gear = gear_->checkedId() != app::kGearNone;
    for (std::size_t i = app::kHeliGearForward; i < fields_.size(); ++i)
        fields_[i]->setEnabled(gear);
    // Skids neither steer nor roll.
    fields_[app::kHeliNoseSteering]->setEnabled(gear_->checkedId() == app::kGearTires);
}

void EffectorTemplateDialog::accept() {
    std::vector<std::string> edited;
    for (const QLineEdit* f : fields_)
        edited.push_back(fieldText(f));
    const int gear = gear_ != nullptr ? gear_->checkedId() : form_.gear;
    model::ObjectRecord result = object_;
    if (const auto refusal =
            app::applyTemplateForm(form_, edited, gear, lengthUnitFactor_, result)) {
        const int f = refusal->field;
        showRefusal(messages_, *refusal,
                    f >= 0 && f < fieldCount() ? fields_[static_cast<std::size_t>(f)] : nullptr);
        return;
    }
    object_ = result;
    QDialog::accept();
}

} // namespace kv::dialogs
