#include "dialogs/gravity_dialog.h"

#include "app/dialogs/gravity_form.h"
#include "app/settings/units_labels.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QPushButton>
#include <QVBoxLayout>

namespace kv::dialogs {

GravityDialog::GravityDialog(float gravity, MessagePort& messages, QWidget* parent)
    : QDialog(parent), gravity_(gravity), messages_(messages) {
    setWindowTitle(QStringLiteral("Gravity"));
    setObjectName(QStringLiteral("gravityDialog"));
    auto* grid = new QGridLayout;
    row_ = addSliderField(grid, 0, QStringLiteral("g's"), app::kGravitySlider, this);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    auto* reset = buttons->addButton(QStringLiteral("Reset"), QDialogButtonBox::ResetRole);
    connect(reset, &QPushButton::clicked, this, &GravityDialog::resetToOneG);
    connect(buttons, &QDialogButtonBox::accepted, this, &GravityDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &GravityDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addWidget(buttons);

    showNumber(row_, app::kFormatLength, app::gravityInGs(gravity_));
}

void GravityDialog::resetToOneG() {
    showNumber(row_, app::kFormatLength, app::kGravityResetGs);
}

void GravityDialog::accept() {
    const std::optional<double> gs = readNumber(row_.field, messages_);
    if (!gs)
        return;
    gravity_ = app::gravityOfGs(*gs);
    QDialog::accept();
}

} // namespace kv::dialogs
