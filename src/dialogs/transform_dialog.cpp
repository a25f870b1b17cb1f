#include "dialogs/transform_dialog.h"

#include "app/settings/coordinate_system.h"
#include "app/settings/units_convert.h"
#include "app/settings/units_labels.h"
#include "common/vecmath.h"
#include "geometry/dxf_transform.h"

#include <QButtonGroup>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>
#include <cmath>

namespace kv::dialogs {

namespace {

QString number(double value) {
    return QString::fromStdString(app::formatLength(value));
}

QGroupBox* fieldGroup(const QString& title, const std::array<QString, 3>& labels,
                      QLineEdit** fields, QLabel** labelsOut, QWidget* parent) {
    auto* box = new QGroupBox(title, parent);
    auto* form = new QFormLayout(box);
    for (int i = 0; i < 3; ++i) {
        auto* label = new QLabel(labels[static_cast<std::size_t>(i)], box);
        fields[i] = new QLineEdit(box);
        fields[i]->setAlignment(Qt::AlignRight);
        label->setBuddy(fields[i]);
        form->addRow(label, fields[i]);
        if (labelsOut != nullptr)
            labelsOut[i] = label;
    }
    return box;
}

} // namespace

TransformDialog::TransformDialog(const model::GeometryTransform& transform,
                                 const app::WorkingUnits& units, MessagePort& messages,
                                 QWidget* parent)
    : QDialog(parent), transform_(transform), units_(units), messages_(messages) {
    setWindowTitle(QStringLiteral("Transform"));
    setObjectName(QStringLiteral("transformDialog"));
    const std::array<std::string, 3> position = app::positionLabels(units_);
    auto* rotate = fieldGroup(
        QStringLiteral("Rotate"),
        {QStringLiteral("Yaw (deg)"), QStringLiteral("Pitch (deg)"), QStringLiteral("Roll (deg)")},
        &fields_[0], nullptr, this);
    auto* scale = fieldGroup(
        QStringLiteral("Scale"),
        {QStringLiteral("Longitudinal"), QStringLiteral("Lateral"), QStringLiteral("Vertical")},
        &fields_[3], nullptr, this);
    auto* translate =
        fieldGroup(QStringLiteral("Translate"),
                   {QString::fromStdString(position[0]), QString::fromStdString(position[1]),
                    QString::fromStdString(position[2])},
                   &fields_[6], translateLabels_.data(), this);

    auto* unitBox = new QGroupBox(QStringLiteral("File Units"), this);
    auto* unitLayout = new QGridLayout(unitBox);
    fileUnits_ = new QButtonGroup(this);
    for (std::size_t i = 0; i < kFileUnits.size(); ++i) {
        auto* b = new QRadioButton(QString::fromLatin1(kFileUnits[i].name), unitBox);
        fileUnits_->addButton(b, static_cast<int>(i));
        unitLayout->addWidget(b, static_cast<int>(i % 3), static_cast<int>(i / 3));
    }
    auto* handBox = new QGroupBox(QStringLiteral("File Coordinate System"), this);
    auto* handLayout = new QVBoxLayout(handBox);
    hand_ = new QButtonGroup(this);
    // Button ids are the coordinate-system preference's stored values.
    for (const geom::DxfAxes axes : geom::kDxfAxesChoices) {
        const std::string_view name = geom::dxfAxesName(axes);
        auto* b = new QRadioButton(
            QString::fromLatin1(name.data(), static_cast<qsizetype>(name.size())), handBox);
        hand_->addButton(b, app::storedCoordinateSystem(axes));
        handLayout->addWidget(b);
    }

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    auto* reset = buttons->addButton(QStringLiteral("Reset"), QDialogButtonBox::ResetRole);
    connect(reset, &QPushButton::clicked, this, &TransformDialog::resetToDefaults);
    connect(buttons, &QDialogButtonBox::accepted, this, &TransformDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &TransformDialog::reject);

    auto* grid = new QGridLayout;
    grid->addWidget(rotate, 0, 0);
    grid->addWidget(scale, 0, 1);
    grid->addWidget(translate, 1, 0);
    auto* side = new QVBoxLayout;
    side->addWidget(unitBox);
    side->addWidget(handBox);
    grid->addLayout(side, 1, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addWidget(buttons);

    showTransform(transform_);
}

void TransformDialog::showTransform(const model::GeometryTransform& t) {
    // Rotation is stored roll, pitch, yaw; the dialog lists yaw first. A z-up
    // file shows the user's own rotation, after the fixed z-up turn.
    const std::array<float, 3> rotate = geom::transformUserRotation(t);
    fields_[0]->setText(number(rotate[2]));
    fields_[1]->setText(number(rotate[1]));
    fields_[2]->setText(number(rotate[0]));
    for (int i = 0; i < 3; ++i)
        fields_[3 + i]->setText(number(t.scale[i]));
    const float f = units_.lengthUnitFactor;
    fields_[6]->setText(number(app::toDisplayMetres(t.translate[0], f)));
    fields_[7]->setText(number(app::toDisplayMetres(t.translate[1], f)));
    const float vertical =
        app::toDisplayVertical(app::toDisplayMetres(t.translate[2], f), units_.rightHandedAxes);
    // No "-0.0000" for a zero height.
    fields_[8]->setText(number(vertical == 0.0f ? 0.0f : vertical));

    // A stored unit that matches none of the six keeps its value until one is chosen.
    fileUnits_->setExclusive(false);
    for (QAbstractButton* b : fileUnits_->buttons())
        b->setChecked(false);
    fileUnits_->setExclusive(true);
    for (std::size_t i = 0; i < kFileUnits.size(); ++i) {
        if (CompareTol(t.fileUnit, kFileUnits[i].metres) == 0) {
            fileUnits_->button(static_cast<int>(i))->setChecked(true);
            break;
        }
    }
    hand_->button(app::storedCoordinateSystem(geom::transformAxes(t)))->setChecked(true);
}

void TransformDialog::resetToDefaults() {
    showTransform(model::GeometryTransform{});
}

void TransformDialog::accept() {
    std::array<double, 9> v{};
    for (std::size_t i = 0; i < fields_.size(); ++i) {
        bool ok = false;
        v[i] = fields_[i]->text().trimmed().toDouble(&ok);
        if (!ok || !std::isfinite(v[i])) {
            messages_.showMessage("Please enter a number.");
            fields_[i]->setFocus();
            fields_[i]->selectAll();
            return;
        }
    }
    if (static_cast<float>(v[3]) == 0.0f || static_cast<float>(v[4]) == 0.0f ||
        static_cast<float>(v[5]) == 0.0f) {
        messages_.showMessage("The scale factor must not equal zero.");
        return;
    }
    model::GeometryTransform t = transform_;
    geom::setTransformAxes(t, app::coordinateSystemOf(hand_->checkedId()),
                           {static_cast<float>(v[2]), static_cast<float>(v[1]),
                            static_cast<float>(v[0])});
    t.scale = {static_cast<float>(v[3]), static_cast<float>(v[4]), static_cast<float>(v[5])};
    const float f = units_.lengthUnitFactor;
    const float down = app::fromDisplayVertical(static_cast<float>(v[8]), units_.rightHandedAxes);
    t.translate = {app::fromDisplayMetres(static_cast<float>(v[6]), f),
                   app::fromDisplayMetres(static_cast<float>(v[7]), f),
                   app::fromDisplayMetres(down, f)};
    if (const int unit = fileUnits_->checkedId(); unit >= 0) {
        t.fileUnit = kFileUnits[static_cast<std::size_t>(unit)].metres;
    }
    transform_ = t;
    QDialog::accept();
}

} // namespace kv::dialogs
