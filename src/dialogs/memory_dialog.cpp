#include "dialogs/memory_dialog.h"

#include "common/message_wrap.h"

#include <QButtonGroup>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QVBoxLayout>

namespace kv::dialogs {

namespace {

QSlider* addSlider(QGridLayout* grid, int row, const QString& label, const app::SliderRange& range,
                   QLabel*& text, QWidget* parent) {
    auto* caption = new QLabel(label, parent);
    auto* slider = new QSlider(Qt::Horizontal, parent);
    slider->setRange(range.minimum, range.maximum);
    slider->setMinimumWidth(200);
    slider->setAccessibleName(label);
    slider->setPageStep(std::max(1, (range.maximum - range.minimum) / 10));
    caption->setBuddy(slider);
    text = new QLabel(parent);
    text->setMinimumWidth(90);
    grid->addWidget(caption, row, 0);
    grid->addWidget(slider, row, 1);
    grid->addWidget(text, row, 2);
    return slider;
}

} // namespace

MemoryDialog::MemoryDialog(const app::MemoryForm& start, float framePeriod,
                           std::optional<std::int64_t> totalPhysical, MessagePort& messages,
                           QWidget* parent)
    : QDialog(parent), form_(start), framePeriod_(framePeriod), totalPhysical_(totalPhysical),
      messages_(messages) {
    setWindowTitle(QStringLiteral("Memory and Accuracy"));
    setObjectName(QStringLiteral("memoryDialog"));
    auto* grid = new QGridLayout;
    objects_ = addSlider(grid, 0, QStringLiteral("Number of Objects:"), app::kObjectSlotsSlider,
                         objectsText_, this);
    duration_ = addSlider(grid, 1, QStringLiteral("Record Duration:"), app::kRecordFramesSlider,
                          durationText_, this);
    terrain_ = addSlider(grid, 2, QStringLiteral("Terrain Resolution:"), app::kTerrainGridSlider,
                         terrainText_, this);
    duration_->setSingleStep(10);
    duration_->setPageStep(600);
    auto* assignedCaption = new QLabel(QStringLiteral("Memory Assigned:"), this);
    auto* availableCaption = new QLabel(QStringLiteral("Memory Available:"), this);
    assignedText_ = new QLabel(this);
    availableText_ = new QLabel(this);
    grid->addWidget(assignedCaption, 3, 0);
    grid->addWidget(assignedText_, 3, 1);
    grid->addWidget(availableCaption, 4, 0);
    grid->addWidget(availableText_, 4, 1);

    auto* accuracyBox = new QGroupBox(QStringLiteral("Accuracy"), this);
    auto* accuracyLayout = new QVBoxLayout(accuracyBox);
    accuracy_ = new QButtonGroup(this);
    for (std::size_t i = 0; i < app::kAccuracyChoices.size(); ++i) {
        auto* b = new QRadioButton(QString::fromLatin1(app::kAccuracyChoices[i].text), accuracyBox);
        accuracy_->addButton(b, static_cast<int>(i));
        accuracyLayout->addWidget(b);
    }
    auto* note = new QLabel(QString::fromLatin1(app::kAccuracyNote), accuracyBox);
    note->setWordWrap(true);
    accuracyLayout->addWidget(note);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    auto* reset = buttons->addButton(QStringLiteral("Reset"), QDialogButtonBox::ResetRole);
    connect(reset, &QPushButton::clicked, this, &MemoryDialog::resetToFactory);
    connect(buttons, &QDialogButtonBox::accepted, this, &MemoryDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &MemoryDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addWidget(accuracyBox);
    layout->addWidget(buttons);

    showForm();
    // A slider move changes only its own setting; showing the form moves none.
    connect(objects_, &QSlider::valueChanged, this, [this](int v) {
        if (showing_)
            return;
        form_.settings.objectSlots = v;
        refreshTexts();
    });
    connect(duration_, &QSlider::valueChanged, this, [this](int v) {
        if (showing_)
            return;
        form_.settings.recordFrames = v;
        refreshTexts();
    });
    connect(terrain_, &QSlider::valueChanged, this, [this](int v) {
        if (showing_)
            return;
        form_.settings.terrainGrid = v * app::kTerrainGridPerPosition;
        refreshTexts();
    });
}

void MemoryDialog::showForm() {
    showing_ = true;
    objects_->setValue(form_.settings.objectSlots);
    duration_->setValue(form_.settings.recordFrames);
    terrain_->setValue(app::terrainGridPosition(form_.settings.terrainGrid));
    if (QAbstractButton* b = accuracy_->button(form_.accuracy)) {
        b->setChecked(true);
    } else {
        accuracy_->setExclusive(false);
        for (QAbstractButton* each : accuracy_->buttons())
            each->setChecked(false);
        accuracy_->setExclusive(true);
    }
    showing_ = false;
    refreshTexts();
}

void MemoryDialog::refreshTexts() {
    const app::MemoryTexts t = app::memoryTexts(form_, framePeriod_, totalPhysical_);
    objectsText_->setText(QString::fromStdString(t.objects));
    durationText_->setText(QString::fromStdString(t.duration));
    terrainText_->setText(QString::fromStdString(t.terrain));
    assignedText_->setText(QString::fromStdString(t.assigned));
    availableText_->setText(QString::fromStdString(t.available));
}

void MemoryDialog::resetToFactory() {
    form_ = app::memoryFormReset();
    showForm();
}

void MemoryDialog::accept() {
    if (const int id = accuracy_->checkedId(); id >= 0)
        form_.accuracy = id;
    const std::string refusal = app::memoryFormRefusal(form_, totalPhysical_);
    if (!refusal.empty()) {
        showWrappedMessage(messages_, refusal);
        return;
    }
    QDialog::accept();
}

} // namespace kv::dialogs
