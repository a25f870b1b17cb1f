#include "dialogs/external_force_dialog.h"

#include "app/settings/units_labels.h"
#include "dialogs/condition_form.h"

#include <QButtonGroup>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace kv::dialogs {

namespace {

QGroupBox* group(const QString& title, const std::array<std::string, 3>& labels, QLineEdit** fields,
                 QLabel** labelsOut, QWidget* parent) {
    auto* box = new QGroupBox(title, parent);
    auto* grid = new QGridLayout(box);
    for (int i = 0; i < 3; ++i) {
        const FieldRow row =
            addField(grid, i, QString::fromStdString(labels[static_cast<std::size_t>(i)]), box);
        fields[i] = row.field;
        labelsOut[i] = row.label;
    }
    return box;
}

} // namespace

ExternalForceDialog::ExternalForceDialog(const sim::ExternalForceSettings& settings,
                                         const app::WorkingUnits& units, MessagePort& messages,
                                         QWidget* parent)
    : QDialog(parent), settings_(settings), units_(units), messages_(messages) {
    setWindowTitle(QStringLiteral("External Force"));
    setObjectName(QStringLiteral("externalForceDialog"));
    const app::ExternalForceLabels labels = app::externalForceLabels(units_);
    auto* position = group(QStringLiteral("Position Relative to CofG"), labels.position,
                           &fields_[0], &labels_[0], this);
    auto* force = group(QStringLiteral("Force"), labels.force, &fields_[3], &labels_[3], this);
    auto* moment = group(QStringLiteral("Moment"), labels.moment, &fields_[6], &labels_[6], this);

    auto* axesBox = new QGroupBox(QStringLiteral("Axes"), this);
    auto* axesRow = new QHBoxLayout(axesBox);
    axes_ = new QButtonGroup(this);
    auto* world = new QRadioButton(QStringLiteral("World Frame"), axesBox);
    auto* body = new QRadioButton(QStringLiteral("Body Frame"), axesBox);
    axes_->addButton(world, sim::kExternalEarthAxes);
    axes_->addButton(body, sim::kExternalBodyAxes);
    axesRow->addWidget(world);
    axesRow->addWidget(body);

    auto* note = new QLabel(QString::fromLatin1(app::kExternalForceNote), this);
    note->setWordWrap(true);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    auto* reset = buttons->addButton(QStringLiteral("Reset"), QDialogButtonBox::ResetRole);
    connect(reset, &QPushButton::clicked, this, &ExternalForceDialog::resetToZero);
    connect(buttons, &QDialogButtonBox::accepted, this, &ExternalForceDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &ExternalForceDialog::reject);

    auto* groups = new QHBoxLayout;
    groups->addWidget(position);
    groups->addWidget(force);
    groups->addWidget(moment);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(groups);
    layout->addWidget(axesBox);
    layout->addWidget(note);
    layout->addWidget(buttons);

    showForm(app::externalForceForm(settings_, units_));
}

void ExternalForceDialog::showForm(const app::ExternalForceForm& form) {
    for (std::size_t i = 0; i < 3; ++i) {
        showNumber(fields_[i], app::kFormatLength, form.position[i]);
        showNumber(fields_[3 + i], app::kFormatLength, form.force[i]);
        showNumber(fields_[6 + i], app::kFormatLength, form.moment[i]);
    }
    if (QAbstractButton* b =
            axes_->button(form.axes != 0 ? sim::kExternalEarthAxes : sim::kExternalBodyAxes))
        b->setChecked(true);
}

app::ExternalForceForm ExternalForceDialog::currentAxesOnly() const {
    app::ExternalForceForm form;
    form.axes = axes_->checkedId() == sim::kExternalBodyAxes ? sim::kExternalBodyAxes
                                                             : sim::kExternalEarthAxes;
    return form;
}

void ExternalForceDialog::resetToZero() {
    showForm(app::externalForceReset(currentAxesOnly()));
}

void ExternalForceDialog::accept() {
    std::array<double, 9> v{};
    if (!readNumbers(fields_, v, messages_))
        return;
    app::ExternalForceForm form = currentAxesOnly();
    for (std::size_t i = 0; i < 3; ++i) {
        form.position[i] = v[i];
        form.force[i] = v[3 + i];
        form.moment[i] = v[6 + i];
    }
    settings_ = app::externalForceOfForm(form, units_);
    QDialog::accept();
}

} // namespace kv::dialogs
