#include "dialogs/appearance_dialog.h"

#include <QButtonGroup>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QRadioButton>
#include <QVBoxLayout>

namespace kv::dialogs {

AppearanceDialog::AppearanceDialog(int color, int transparency, QWidget* parent)
    : QDialog(parent), initialColor_(color), initialTransparency_(transparency) {
    setWindowTitle(QStringLiteral("Appearance"));
    setObjectName(QStringLiteral("appearanceDialog"));

    auto* colorBox = new QGroupBox(QStringLiteral("Color"), this);
    auto* colorGrid = new QGridLayout(colorBox);
    colors_ = new QButtonGroup(this);
    for (int code = 0; code < static_cast<int>(kColorNames.size()); ++code) {
        auto* b = new QRadioButton(QString::fromLatin1(kColorNames[static_cast<std::size_t>(code)]),
                                   colorBox);
        colors_->addButton(b, code);
        colorGrid->addWidget(b, code / 4, code % 4);
    }
    if (QAbstractButton* b = colors_->button(color))
        b->setChecked(true);

    auto* transparencyBox = new QGroupBox(QStringLiteral("Transparency"), this);
    auto* transparencyRow = new QHBoxLayout(transparencyBox);
    transparencies_ = new QButtonGroup(this);
    for (int code = 0; code < static_cast<int>(kTransparencyNames.size()); ++code) {
        auto* b = new QRadioButton(
            QString::fromLatin1(kTransparencyNames[static_cast<std::size_t>(code)]),
            transparencyBox);
        transparencies_->addButton(b, code);
        transparencyRow->addWidget(b);
    }
    if (QAbstractButton* b = transparencies_->button(transparency))
        b->setChecked(true);

    auto* note =
        new QLabel(QString::fromUtf8(app::kTransparencyNote.data(),
                                     static_cast<qsizetype>(app::kTransparencyNote.size())),
                   this);
    note->setWordWrap(true);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(colorBox);
    layout->addWidget(transparencyBox);
    layout->addWidget(note);
    layout->addWidget(buttons);
}

int AppearanceDialog::color() const {
    const int id = colors_->checkedId();
    return id >= 0 ? id : initialColor_;
}

int AppearanceDialog::transparency() const {
    const int id = transparencies_->checkedId();
    return id >= 0 ? id : initialTransparency_;
}

} // namespace kv::dialogs
