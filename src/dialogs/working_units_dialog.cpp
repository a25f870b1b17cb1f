#include "dialogs/working_units_dialog.h"

#include "app/settings/coordinate_system.h"

#include <QButtonGroup>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QRadioButton>
#include <QVBoxLayout>

namespace kv::dialogs {

namespace {

/// A radio button followed by a raised "2", read as one name ("...-ft2").
QWidget* squaredChoice(const char* text, QButtonGroup* group, int id, QWidget* parent) {
    auto* row = new QWidget(parent);
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    auto* button = new QRadioButton(QString::fromLatin1(text), row);
    button->setAccessibleName(QString::fromLatin1(text) + QLatin1Char('2'));
    auto* square = new QLabel(QStringLiteral("<sup>2</sup>"), row);
    square->setTextFormat(Qt::RichText);
    square->setAlignment(Qt::AlignTop);
    layout->addWidget(button);
    layout->addWidget(square);
    layout->addStretch();
    group->addButton(button, id);
    return row;
}

} // namespace

WorkingUnitsDialog::WorkingUnitsDialog(const app::Preferences& prefs, QWidget* parent)
    : QDialog(parent) {
    setWindowTitle(QStringLiteral("Working Units"));
    setObjectName(QStringLiteral("workingUnitsDialog"));
    const app::WorkingUnitsForm form = app::workingUnitsForm(prefs);
    storedLength_ = form.length;

    auto* lengthBox = new QGroupBox(QStringLiteral("Length"), this);
    auto* lengthGrid = new QGridLayout(lengthBox);
    length_ = new QButtonGroup(this);
    for (std::size_t i = 0; i < app::kLengthChoices.size(); ++i) {
        auto* b = new QRadioButton(QString::fromLatin1(app::kLengthChoices[i].text), lengthBox);
        length_->addButton(b, static_cast<int>(i));
        lengthGrid->addWidget(b, static_cast<int>(i % 3), static_cast<int>(i / 3));
    }
    if (QAbstractButton* b = length_->button(form.length))
        b->setChecked(true);

    auto* forceBox = new QGroupBox(QStringLiteral("Force/Mass/Inertia"), this);
    auto* forceLayout = new QVBoxLayout(forceBox);
    force_ = new QButtonGroup(this);
    forceLayout->addWidget(squaredChoice(app::kEnglishForceText, force_, 1, forceBox));
    forceLayout->addWidget(squaredChoice(app::kMetricForceText, force_, 0, forceBox));
    force_->button(form.english ? 1 : 0)->setChecked(true);

    auto* handBox = new QGroupBox(QStringLiteral("Coordinate System"), this);
    auto* handLayout = new QVBoxLayout(handBox);
    hand_ = new QButtonGroup(this);
    for (const geom::DxfAxes axes : geom::kDxfAxesChoices) {
        const std::string_view name = geom::dxfAxesName(axes);
        auto* b = new QRadioButton(
            QString::fromLatin1(name.data(), static_cast<qsizetype>(name.size())), handBox);
        hand_->addButton(b, app::storedCoordinateSystem(axes));
        handLayout->addWidget(b);
    }
    hand_->button(app::storedCoordinateSystem(form.axes))->setChecked(true);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* side = new QVBoxLayout;
    side->addWidget(forceBox);
    side->addWidget(handBox);
    auto* top = new QHBoxLayout;
    top->addWidget(lengthBox);
    top->addLayout(side);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(buttons);
}

app::WorkingUnitsForm WorkingUnitsDialog::form() const {
    app::WorkingUnitsForm f;
    const int length = length_->checkedId();
    f.length = length >= 0 ? length : storedLength_;
    f.english = force_->checkedId() == 1;
    f.axes = app::coordinateSystemOf(hand_->checkedId());
    return f;
}

} // namespace kv::dialogs
