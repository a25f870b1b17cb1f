#include "dialogs/save_first_dialog.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

namespace kv::dialogs {

SaveFirstDialog::SaveFirstDialog(const QString& message, QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("Save First?"));
    setObjectName(QStringLiteral("saveFirstDialog"));
    auto* icon = new QLabel(this);
    icon->setPixmap(style()->standardIcon(QStyle::SP_MessageBoxQuestion).pixmap(32, 32));
    auto* text = new QLabel(message, this);
    text->setObjectName(QStringLiteral("saveFirstMessage"));
    text->setWordWrap(true);
    text->setMinimumWidth(280);

    auto* save = new QPushButton(QStringLiteral("Save"), this);
    auto* dontSave = new QPushButton(QStringLiteral("Don't Save"), this);
    auto* cancel = new QPushButton(QStringLiteral("Cancel"), this);
    save->setDefault(true);
    connect(save, &QPushButton::clicked, this, [this] {
        answer_ = {true, true};
        accept();
    });
    connect(dontSave, &QPushButton::clicked, this, [this] {
        answer_ = {true, false};
        accept();
    });
    connect(cancel, &QPushButton::clicked, this, [this] {
        answer_ = {};
        reject();
    });

    auto* top = new QHBoxLayout;
    top->addWidget(icon, 0, Qt::AlignTop);
    top->addWidget(text, 1);
    auto* row = new QHBoxLayout;
    row->addStretch(1);
    row->addWidget(save);
    row->addWidget(dontSave);
    row->addWidget(cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addLayout(row);
}

SaveAnswer askSaveFirst(QWidget* parent, std::string_view message) {
    SaveFirstDialog dialog(
        QString::fromUtf8(message.data(), static_cast<qsizetype>(message.size())), parent);
    dialog.exec();
    const SaveFirstAnswer a = dialog.answer();
    if (!a.proceed)
        return SaveAnswer::kCancel;
    return a.save ? SaveAnswer::kSave : SaveAnswer::kDontSave;
}

} // namespace kv::dialogs
