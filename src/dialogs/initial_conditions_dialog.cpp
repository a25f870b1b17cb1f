#include "dialogs/initial_conditions_dialog.h"

#include "app/settings/units_labels.h"
#include "dialogs/condition_form.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace kv::dialogs {

namespace {

QGroupBox* group(const QString& title, const std::array<QString, 3>& labels, QLineEdit** fields,
                 QLabel** labelsOut, QWidget* parent) {
    auto* box = new QGroupBox(title, parent);
    auto* grid = new QGridLayout(box);
    for (int i = 0; i < 3; ++i) {
        const FieldRow row = addField(grid, i, labels[static_cast<std::size_t>(i)], box);
        fields[i] = row.field;
        labelsOut[i] = row.label;
    }
    return box;
}

std::array<QString, 3> qtexts(const std::array<std::string, 3>& texts) {
    return {QString::fromStdString(texts[0]), QString::fromStdString(texts[1]),
            QString::fromStdString(texts[2])};
}

std::array<QString, 3> qtexts(const std::array<const char*, 3>& texts) {
    return {QString::fromLatin1(texts[0]), QString::fromLatin1(texts[1]),
            QString::fromLatin1(texts[2])};
}

} // namespace

InitialConditionsDialog::InitialConditionsDialog(const model::InitialConditions& initial,
                                                 const app::WorkingUnits& units,
                                                 InitialConditionsLoader loader,
                                                 MessagePort& messages, QWidget* parent)
    : QDialog(parent), initial_(initial), units_(units), loader_(std::move(loader)),
      messages_(messages) {
    setWindowTitle(QStringLiteral("Initial Conditions"));
    setObjectName(QStringLiteral("initialConditionsDialog"));
    const app::InitialConditionsLabels unitLabels = app::initialConditionsLabels(units_);
    auto* position = group(QStringLiteral("Position"), qtexts(unitLabels.position), &fields_[0],
                           &labels_[0], this);
    auto* velocity = group(QStringLiteral("Velocity"), qtexts(unitLabels.velocity), &fields_[3],
                           &labels_[3], this);
    auto* orientation = group(QStringLiteral("Orientation"), qtexts(app::kOrientationLabels),
                              &fields_[6], &labels_[6], this);
    auto* rates = group(QStringLiteral("Angular Rate"), qtexts(app::kAngularRateLabels),
                        &fields_[9], &labels_[9], this);

    auto* motionBox = new QGroupBox(QStringLiteral("Motion File Initialization"), this);
    auto* motionRow = new QHBoxLayout(motionBox);
    auto* timeLabel = new QLabel(QStringLiteral("Time (min:sec)"), motionBox);
    minutes_ = new QLineEdit(motionBox);
    seconds_ = new QLineEdit(motionBox);
    for (QLineEdit* f : {minutes_, seconds_}) {
        f->setAlignment(Qt::AlignRight);
        f->setMaximumWidth(70);
    }
    minutes_->setAccessibleName(QStringLiteral("Time (min:sec) minutes"));
    seconds_->setAccessibleName(QStringLiteral("Time (min:sec) seconds"));
    timeLabel->setBuddy(minutes_);
    showNumber(minutes_, app::kFormatMinutes, 0.0);
    showNumber(seconds_, app::kFormatTenths, 0.0);
    auto* load = new QPushButton(QStringLiteral("Load..."), motionBox);
    connect(load, &QPushButton::clicked, this, &InitialConditionsDialog::loadFromMotion);
    motionRow->addWidget(minutes_);
    auto* colon = new QLabel(QStringLiteral(":"), motionBox);
    colon->setBuddy(seconds_);
    motionRow->addWidget(colon);
    motionRow->addWidget(seconds_);
    motionRow->addWidget(timeLabel);
    motionRow->addStretch();
    motionRow->addWidget(load);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    auto* reset = buttons->addButton(QStringLiteral("Reset"), QDialogButtonBox::ResetRole);
    connect(reset, &QPushButton::clicked, this, &InitialConditionsDialog::resetToZero);
    connect(buttons, &QDialogButtonBox::accepted, this, &InitialConditionsDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &InitialConditionsDialog::reject);

    // "On Ground" sits under the position it changes.
    onGround_ = new QPushButton(QStringLiteral("On Ground"), position);
    onGround_->setEnabled(false);
    connect(onGround_, &QPushButton::clicked, this, &InitialConditionsDialog::putOnGround);
    if (auto* positionGrid = qobject_cast<QGridLayout*>(position->layout()))
        positionGrid->addWidget(onGround_, 3, 1);

    auto* grid = new QGridLayout;
    grid->addWidget(position, 0, 0);
    grid->addWidget(orientation, 0, 1);
    grid->addWidget(velocity, 1, 0);
    grid->addWidget(rates, 1, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addWidget(motionBox);
    layout->addWidget(buttons);

    showForm(app::initialConditionsForm(initial_, units_));
}

void InitialConditionsDialog::showForm(const app::InitialConditionsForm& form) {
    const std::array<const std::array<double, 3>*, 4> groups{&form.position, &form.velocity,
                                                             &form.attitude, &form.rates};
    for (std::size_t g = 0; g < groups.size(); ++g) {
        for (std::size_t i = 0; i < 3; ++i)
            showNumber(fields_[g * 3 + i], app::kFormatLength, (*groups[g])[i]);
    }
}

void InitialConditionsDialog::resetToZero() {
    showForm(app::InitialConditionsForm{});
}

void InitialConditionsDialog::loadFromMotion() {
    const std::optional<double> minutes = readNumber(minutes_, messages_);
    if (!minutes)
        return;
    const std::optional<double> seconds = readNumber(seconds_, messages_);
    if (!seconds || !loader_)
        return;
    const std::optional<model::InitialConditions> loaded =
        loader_(app::motionFileTime(*minutes, *seconds));
    if (loaded)
        showForm(app::initialConditionsForm(*loaded, units_));
}

void InitialConditionsDialog::setGrounder(InitialConditionsGrounder grounder) {
    grounder_ = std::move(grounder);
    onGround_->setEnabled(static_cast<bool>(grounder_));
}

std::optional<model::InitialConditions> InitialConditionsDialog::readFields() {
    std::array<double, 12> v{};
    if (!readNumbers(fields_, v, messages_))
        return std::nullopt;
    app::InitialConditionsForm form;
    for (std::size_t i = 0; i < 3; ++i) {
        form.position[i] = v[i];
        form.velocity[i] = v[3 + i];
        form.attitude[i] = v[6 + i];
        form.rates[i] = v[9 + i];
    }
    return app::initialConditionsOfForm(form, units_);
}

void InitialConditionsDialog::putOnGround() {
    if (!grounder_)
        return;
    if (const auto read = readFields())
        showForm(app::initialConditionsForm(grounder_(*read), units_));
}

void InitialConditionsDialog::accept() {
    const auto read = readFields();
    if (!read)
        return;
    initial_ = *read;
    QDialog::accept();
}

} // namespace kv::dialogs
