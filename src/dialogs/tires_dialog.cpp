#include "dialogs/tires_dialog.h"

#include "dialogs/customize_form.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QVBoxLayout>

namespace kv::dialogs {

TiresDialog::TiresDialog(const model::ObjectRecord& object, MessagePort& messages, QWidget* parent)
    : QDialog(parent), model_(object), tires_(object.tires), messages_(messages) {
    setWindowTitle(QStringLiteral("Tires and Suspension"));
    setObjectName(QStringLiteral("tiresDialog"));
    const app::TiresSharedForm& shared = model_.openedShared();

    auto* common = new QGridLayout;
    braking_ = addSliderRow(common, 0, QStringLiteral("Braking (%)"), 0, app::kBrakingPercentMax,
                            toQString(shared.braking), this);
    surface_ = addSliderRow(common, 1, QStringLiteral("Surface (%)"), app::kSurfacePercentMin,
                            app::kSurfacePercentMax, toQString(shared.surface), this);

    auto* skidBox = new QGroupBox(QStringLiteral("Wheels"), this);
    auto* skidRow = new QHBoxLayout(skidBox);
    skid_ = new QButtonGroup(this);
    auto* skid = new QRadioButton(QStringLiteral("Skid"), skidBox);
    auto* noSkid = new QRadioButton(QStringLiteral("No Skid"), skidBox);
    skid_->addButton(skid, 1);
    skid_->addButton(noSkid, 0);
    skidRow->addWidget(skid);
    skidRow->addWidget(noSkid);
    (shared.skid != 0 ? skid : noSkid)->setChecked(true);

    auto* typeBox = new QGroupBox(QStringLiteral("Tire Type"), this);
    auto* typeRow = new QHBoxLayout(typeBox);
    tireTypes_ = new QButtonGroup(this);
    for (const app::TireTypeChoice& t : app::kTireTypes) {
        auto* b = new QRadioButton(QString::fromLatin1(t.label), typeBox);
        tireTypes_->addButton(b, t.code);
        typeRow->addWidget(b);
        if (t.code == shared.tireType)
            b->setChecked(true);
    }

    auto* tireBox = new QGroupBox(QStringLiteral("Tire"), this);
    auto* tireGrid = new QGridLayout(tireBox);
    auto* listLabel = new QLabel(QStringLiteral("Selected Tire"), tireBox);
    tireList_ = new QComboBox(tireBox);
    for (const std::string& name : model_.tireNames())
        tireList_->addItem(toQString(name));
    tireList_->setAccessibleName(QStringLiteral("Selected Tire"));
    listLabel->setBuddy(tireList_);
    tireGrid->addWidget(listLabel, 0, 0);
    tireGrid->addWidget(tireList_, 0, 1, 1, 2);
    drive_ = new QCheckBox(QStringLiteral("Drive"), tireBox);
    brake_ = new QCheckBox(QStringLiteral("Brake"), tireBox);
    auto* boxes = new QHBoxLayout;
    boxes->addWidget(drive_);
    boxes->addWidget(brake_);
    boxes->addStretch();
    tireGrid->addLayout(boxes, 1, 1, 1, 2);
    const app::TireSettingsForm& first = model_.tire(model_.selectedTire());
    spring_ = addSliderRow(tireGrid, 2, QStringLiteral("Spring Strength (%)"), 0,
                           app::kSuspensionPercentMax, toQString(first.spring), tireBox);
    bounce_ = addSliderRow(tireGrid, 3, QStringLiteral("Bounce (%)"), 0, app::kSuspensionPercentMax,
                           toQString(first.bounce), tireBox);
    auto* applyLabel = new QLabel(toQString(app::kApplyToAllTiresText), tireBox);
    apply_ = new QPushButton(QStringLiteral("Apply"), tireBox);
    apply_->setAccessibleName(toQString(app::kApplyToAllTiresText));
    apply_->setAutoDefault(false);
    tireGrid->addWidget(applyLabel, 4, 0, 1, 2);
    tireGrid->addWidget(apply_, 4, 2);
    showSettings(first);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &TiresDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &TiresDialog::reject);
    connect(tireList_, &QComboBox::currentIndexChanged, this, &TiresDialog::showTire);
    connect(apply_, &QPushButton::clicked, this, &TiresDialog::applyToAllTires);
    connect(skid_, &QButtonGroup::idToggled, this, [this] { updateEnabling(); });

    auto* sides = new QHBoxLayout;
    sides->addWidget(skidBox);
    sides->addWidget(typeBox);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(common);
    layout->addLayout(sides);
    layout->addWidget(tireBox);
    layout->addWidget(buttons);
    updateEnabling();
}

QLineEdit* TiresDialog::field(app::TiresField which) const {
    const SliderLink* links[] = {braking_, surface_, spring_, bounce_};
    return links[which]->field();
}

QSlider* TiresDialog::slider(app::TiresField which) const {
    const SliderLink* links[] = {braking_, surface_, spring_, bounce_};
    return links[which]->slider();
}

app::TireSettingsForm TiresDialog::showing() const {
    app::TireSettingsForm t;
    t.drive = drive_->isChecked();
    t.brake = brake_->isChecked();
    t.spring = fieldText(spring_->field());
    t.bounce = fieldText(bounce_->field());
    return t;
}

void TiresDialog::showSettings(const app::TireSettingsForm& tire) {
    drive_->setChecked(tire.drive);
    brake_->setChecked(tire.brake);
    spring_->field()->setText(toQString(tire.spring));
    bounce_->field()->setText(toQString(tire.bounce));
}

void TiresDialog::showTire(int index) {
    if (index < 0)
        return;
    showSettings(model_.select(index, showing()));
}

void TiresDialog::applyToAllTires() {
    model_.applyToAll(showing());
}

void TiresDialog::updateEnabling() {
    const bool grip = app::gripControlsEnabled(skid_->checkedId() == 0 ? 0 : 1);
    surface_->field()->setEnabled(grip);
    surface_->slider()->setEnabled(grip);
    for (QAbstractButton* b : tireTypes_->buttons())
        b->setEnabled(grip);
}

void TiresDialog::accept() {
    app::TiresSharedForm shared = model_.openedShared();
    shared.braking = fieldText(braking_->field());
    shared.surface = fieldText(surface_->field());
    shared.skid = skid_->checkedId() == 0 ? 0 : 1;
    if (const int type = tireTypes_->checkedId(); type >= 0)
        shared.tireType = type;
    if (const auto refusal = model_.accept(shared, showing(), tires_)) {
        const SliderLink* links[] = {braking_, surface_, spring_, bounce_};
        QLineEdit* where =
            refusal->field >= 0 && refusal->field < 4 ? links[refusal->field]->field() : nullptr;
        showRefusal(messages_, *refusal, where);
        return;
    }
    QDialog::accept();
}

} // namespace kv::dialogs
