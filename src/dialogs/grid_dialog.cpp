#include "dialogs/grid_dialog.h"

#include "app/settings/units_labels.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QVBoxLayout>

namespace kv::dialogs {

GridDialog::GridDialog(const app::Preferences& prefs, MessagePort& messages, QWidget* parent)
    : QDialog(parent), form_(app::gridForm(prefs)), messages_(messages) {
    setWindowTitle(QStringLiteral("Grid"));
    setObjectName(QStringLiteral("gridDialog"));
    auto* grid = new QGridLayout;
    gridOn_ = new QCheckBox(QStringLiteral("Grid On"), this);
    centringOn_ = new QCheckBox(QStringLiteral("Centering On"), this);
    grid->addWidget(gridOn_, 0, 0);
    grid->addWidget(centringOn_, 0, 1);
    spacing_ = addField(
        grid, 1, QString::fromStdString(app::lengthLabel("Spacing", prefs.lengthUnitFactor)), this);
    size_ = addField(
        grid, 2, QString::fromStdString(app::lengthLabel("Size", prefs.lengthUnitFactor)), this);
    resolution_ = addSliderField(grid, 3, QStringLiteral("Terrain Resolution (%)"),
                                 app::kTerrainResolutionSlider, this);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &GridDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &GridDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addWidget(buttons);

    gridOn_->setChecked(form_.gridOn);
    centringOn_->setChecked(form_.centringOn);
    showNumber(spacing_, app::kFormatLength, form_.spacing);
    showNumber(size_, app::kFormatLength, form_.size);
    showNumber(resolution_, app::kFormatWhole, form_.resolution);
}

void GridDialog::accept() {
    std::array<double, 3> v{};
    if (!readNumbers(std::array<QLineEdit*, 3>{spacing_.field, size_.field, resolution_.field}, v,
                     messages_))
        return;
    form_.gridOn = gridOn_->isChecked();
    form_.centringOn = centringOn_->isChecked();
    form_.spacing = v[0];
    form_.size = v[1];
    form_.resolution = v[2];
    QDialog::accept();
}

} // namespace kv::dialogs
