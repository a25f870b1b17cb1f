#include "dialogs/recovery_dialog.h"

#include "app/settings/preferences.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QSpinBox>
#include <QVBoxLayout>

namespace kv::dialogs {

RecoveryDialog::RecoveryDialog(int minutes, QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("Recovery"));
    setObjectName(QStringLiteral("recoveryDialog"));
    interval_ = new QSpinBox(this);
    interval_->setObjectName(QStringLiteral("recoveryInterval"));
    interval_->setAccessibleName(QStringLiteral("Copy a changed project every"));
    interval_->setRange(0, app::kMaxRecoveryMinutes);
    interval_->setSuffix(QStringLiteral(" min"));
    interval_->setSpecialValueText(QStringLiteral("Never"));
    interval_->setValue(minutes);
    auto* label = new QLabel(QStringLiteral("Copy a changed project &every:"), this);
    label->setBuddy(interval_);
    auto* note = new QLabel(QStringLiteral("The takes of every run are kept when it ends."), this);
    note->setWordWrap(true);
    auto* form = new QFormLayout;
    form->addRow(label, interval_);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(note);
    layout->addWidget(buttons);
}

int RecoveryDialog::minutes() const {
    return interval_->value();
}

} // namespace kv::dialogs
