#include "dialogs/camera_dialog.h"

#include "app/camera/camera_settings.h"
#include "app/settings/units_labels.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

namespace kv::dialogs {

namespace {

QCheckBox* check(const QString& text, const QString& accessible, QWidget* parent) {
    auto* box = new QCheckBox(text, parent);
    if (!accessible.isEmpty())
        box->setAccessibleName(accessible);
    return box;
}

} // namespace

CameraDialog::CameraDialog(const app::Preferences& prefs, MessagePort& messages, QWidget* parent)
    : QDialog(parent), form_(app::cameraForm(prefs)), messages_(messages) {
    setWindowTitle(QStringLiteral("Camera"));
    setObjectName(QStringLiteral("cameraDialog"));

    auto* motionBox = new QGroupBox(QStringLiteral("Camera Motion"), this);
    auto* motion = new QGridLayout(motionBox);
    updateRate_ = addSliderField(motion, 0, QStringLiteral("Update Rate (FPS)"),
                                 app::kUpdateRateSlider, motionBox);
    lag_ = addSliderField(motion, 1, QStringLiteral("TV / External Lag (%)"), app::kCameraLagSlider,
                          motionBox);
    maxVelocity_ = addSliderField(motion, 2, QStringLiteral("Max. Velocity (%)"),
                                  app::kCameraVelocitySlider, motionBox);
    maxAngularRate_ = addSliderField(motion, 3, QStringLiteral("Max. Angular Rate (%)"),
                                     app::kCameraAngularRateSlider, motionBox);
    drag_ =
        addSliderField(motion, 4, QStringLiteral("Drag (%)"), app::kCameraDragSlider, motionBox);

    auto* chartBox = new QGroupBox(QStringLiteral("Field Chart"), this);
    auto* chart = new QVBoxLayout(chartBox);
    actionSafe_ = check(QStringLiteral("Action Safe"), {}, chartBox);
    titleSafe_ = check(QStringLiteral("Title Safe"), {}, chartBox);
    crossLine_ = check(QStringLiteral("Cross Line"), {}, chartBox);
    hatchLine_ = check(QStringLiteral("Hatch Line"), {}, chartBox);
    for (QCheckBox* b : {actionSafe_, titleSafe_, crossLine_, hatchLine_})
        chart->addWidget(b);

    auto* lensBox = new QGroupBox(QStringLiteral("Lens"), this);
    auto* lens = new QGridLayout(lensBox);
    auto* presetLabel = new QLabel(QStringLiteral("Presets"), lensBox);
    presets_ = new QComboBox(lensBox);
    for (const app::CameraPreset& p : app::kCameraPresets)
        presets_->addItem(QString::fromLatin1(p.name.data(), static_cast<int>(p.name.size())));
    presets_->setAccessibleName(QStringLiteral("Presets"));
    presetLabel->setBuddy(presets_);
    lens->addWidget(presetLabel, 0, 0);
    lens->addWidget(presets_, 0, 1);
    aspect_ = addField(lens, 1, QStringLiteral("Aspect Ratio"), lensBox);
    fieldOfView_ = addField(lens, 2, QStringLiteral("Field of View (deg)"), lensBox);
    useWindowAspect_ = check(QStringLiteral("Use Window Aspect Ratio"), {}, lensBox);
    lens->addWidget(useWindowAspect_, 3, 0, 1, 2);

    auto* jitterBox = new QGroupBox(QStringLiteral("Jitter"), this);
    auto* jitter = new QGridLayout(jitterBox);
    jitterOn_ = check(QStringLiteral("On"), QStringLiteral("Jitter On"), jitterBox);
    jitter->addWidget(jitterOn_, 0, 0);
    jitterPosition_ =
        addSliderField(jitter, 1, QStringLiteral("Position (%)"), app::kJitterSlider, jitterBox);
    jitterAngle_ =
        addSliderField(jitter, 2, QStringLiteral("Angle (%)"), app::kJitterSlider, jitterBox);

    auto* bounceBox = new QGroupBox(QStringLiteral("Bounce"), this);
    auto* bounce = new QGridLayout(bounceBox);
    bounceOn_ = check(QStringLiteral("On"), QStringLiteral("Bounce On"), bounceBox);
    bounce->addWidget(bounceOn_, 0, 0);
    spring_ = addSliderField(bounce, 1, QStringLiteral("Spring (%)"), app::kBounceSpringSlider,
                             bounceBox);
    bounce_ =
        addSliderField(bounce, 2, QStringLiteral("Bounce (%)"), app::kBounceSlider, bounceBox);
    auto* locks = new QHBoxLayout;
    locks->addWidget(new QLabel(QStringLiteral("Lock:"), bounceBox));
    lockLongitudinal_ =
        check(QStringLiteral("Longitudinal"), QStringLiteral("Lock Longitudinal"), bounceBox);
    lockLateral_ = check(QStringLiteral("Lateral"), QStringLiteral("Lock Lateral"), bounceBox);
    lockVertical_ = check(QStringLiteral("Vertical"), QStringLiteral("Lock Vertical"), bounceBox);
    for (QCheckBox* b : {lockLongitudinal_, lockLateral_, lockVertical_})
        locks->addWidget(b);
    bounce->addLayout(locks, 3, 0, 1, 3);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &CameraDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &CameraDialog::reject);

    auto* left = new QVBoxLayout;
    left->addWidget(motionBox);
    left->addWidget(jitterBox);
    left->addWidget(bounceBox);
    auto* right = new QVBoxLayout;
    right->addWidget(chartBox);
    right->addWidget(lensBox);
    right->addStretch();
    auto* columns = new QHBoxLayout;
    columns->addLayout(left);
    columns->addLayout(right);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(columns);
    layout->addWidget(buttons);

    const app::CameraForm& f = form_;
    showNumber(updateRate_, app::kFormatWhole, f.updateRate);
    showNumber(lag_, app::kFormatWhole, f.lagPercent);
    showNumber(maxVelocity_, app::kFormatWhole, f.maxVelocity);
    showNumber(maxAngularRate_, app::kFormatWhole, f.maxAngularRate);
    showNumber(drag_, app::kFormatWhole, f.dragPercent);
    actionSafe_->setChecked(f.actionSafe);
    titleSafe_->setChecked(f.titleSafe);
    crossLine_->setChecked(f.crossLine);
    hatchLine_->setChecked(f.hatchLine);
    useWindowAspect_->setChecked(f.useWindowAspect);
    presets_->setCurrentIndex(f.preset);
    showNumber(aspect_, app::kFormatLength, f.aspectRatio);
    showNumber(fieldOfView_, app::kFormatLength, f.fieldOfView);
    jitterOn_->setChecked(f.jitterOn);
    showNumber(jitterPosition_, app::kFormatWhole, f.jitterPosition);
    showNumber(jitterAngle_, app::kFormatWhole, f.jitterAngle);
    bounceOn_->setChecked(f.bounceOn);
    showNumber(spring_, app::kFormatWhole, f.springPercent);
    showNumber(bounce_, app::kFormatWhole, f.bouncePercent);
    lockLongitudinal_->setChecked(f.lockLongitudinal);
    lockLateral_->setChecked(f.lockLateral);
    lockVertical_->setChecked(f.lockVertical);
    // Connected after the stored preset is shown, so that opening keeps the stored lens.
    connect(presets_, &QComboBox::activated, this, &CameraDialog::choosePreset);
}

void CameraDialog::choosePreset(int index) {
    app::CameraForm f = form_;
    app::chooseCameraPreset(f, index);
    showNumber(aspect_, app::kFormatLength, f.aspectRatio);
    showNumber(fieldOfView_, app::kFormatLength, f.fieldOfView);
}

void CameraDialog::accept() {
    const std::array<QLineEdit*, 11> fields{
        updateRate_.field,  lag_.field,    maxVelocity_.field, maxAngularRate_.field,
        drag_.field,        aspect_.field, fieldOfView_.field, jitterPosition_.field,
        jitterAngle_.field, spring_.field, bounce_.field};
    std::array<double, 11> v{};
    if (!readNumbers(fields, v, messages_))
        return;
    app::CameraForm& f = form_;
    f.updateRate = v[0];
    f.lagPercent = v[1];
    f.maxVelocity = v[2];
    f.maxAngularRate = v[3];
    f.dragPercent = v[4];
    f.aspectRatio = v[5];
    f.fieldOfView = v[6];
    f.jitterPosition = v[7];
    f.jitterAngle = v[8];
    f.springPercent = v[9];
    f.bouncePercent = v[10];
    f.actionSafe = actionSafe_->isChecked();
    f.titleSafe = titleSafe_->isChecked();
    f.crossLine = crossLine_->isChecked();
    f.hatchLine = hatchLine_->isChecked();
    f.useWindowAspect = useWindowAspect_->isChecked();
    f.preset = presets_->currentIndex();
    f.jitterOn = jitterOn_->isChecked();
    f.bounceOn = bounceOn_->isChecked();
    f.lockLongitudinal = lockLongitudinal_->isChecked();
    f.lockLateral = lockLateral_->isChecked();
    f.lockVertical = lockVertical_->isChecked();
    QDialog::accept();
}

} // namespace kv::dialogs
