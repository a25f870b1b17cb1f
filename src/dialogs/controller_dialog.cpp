#include "dialogs/controller_dialog.h"

#include "app/settings/units_labels.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QRadioButton>
#include <QVBoxLayout>

namespace kv::dialogs {

namespace {

QGroupBox* reverseGroup(const QString& title, QCheckBox*& upDown, QCheckBox*& leftRight,
                        QWidget* parent) {
    auto* box = new QGroupBox(title, parent);
    auto* layout = new QVBoxLayout(box);
    upDown = new QCheckBox(QStringLiteral("Reverse Up/Down"), box);
    leftRight = new QCheckBox(QStringLiteral("Reverse Left/Right"), box);
    upDown->setAccessibleName(title + QStringLiteral(" Reverse Up/Down"));
    leftRight->setAccessibleName(title + QStringLiteral(" Reverse Left/Right"));
    layout->addWidget(upDown);
    layout->addWidget(leftRight);
    return box;
}

} // namespace

ControllerDialog::ControllerDialog(const app::Preferences& prefs, app::JoystickProbe joystick,
                                   MessagePort& messages, QWidget* parent,
                                   const app::GamepadProbe& gamepad)
    : QDialog(parent), prefs_(prefs), joystick_(std::move(joystick)), messages_(messages) {
    setWindowTitle(QStringLiteral("Controller"));
    setObjectName(QStringLiteral("controllerDialog"));
    auto* vehicle =
        reverseGroup(QStringLiteral("Vehicle Control"), vehicleUpDown_, vehicleLeftRight_, this);
    auto* camera =
        reverseGroup(QStringLiteral("Camera Control"), cameraUpDown_, cameraLeftRight_, this);

    auto* grid = new QGridLayout;
    sensitivity_ =
        addSliderField(grid, 0, QStringLiteral("Sensitivity (%)"), app::kSensitivitySlider, this);
    deadzone_ = addSliderField(grid, 1, QStringLiteral("Deadzone (%)"), app::kDeadzoneSlider, this);

    centring_ = new QButtonGroup(this);
    auto* mouse = new QRadioButton(QStringLiteral("Center on Camera Window (Mouse)"), this);
    auto* stick = new QRadioButton(QStringLiteral("Center on Full Screen (Joystick)"), this);
    auto* keys = new QRadioButton(QStringLiteral("Keyboard (Arrow Keys)"), this);
    auto* pad = new QRadioButton(QStringLiteral("Gamepad"), this);
    centring_->addButton(mouse, app::controllerDeviceField(app::ControllerDevice::Mouse));
    centring_->addButton(stick, app::controllerDeviceField(app::ControllerDevice::Joystick));
    centring_->addButton(keys, app::controllerDeviceField(app::ControllerDevice::Keyboard));
    centring_->addButton(pad, app::controllerDeviceField(app::ControllerDevice::Gamepad));
    gamepadStatus_ = new QLabel(
        QString::fromStdString(app::gamepadStatusText(gamepad ? gamepad() : std::string())), this);
    gamepadStatus_->setObjectName(QStringLiteral("gamepadStatus"));
    gamepadStatus_->setAccessibleName(QStringLiteral("Gamepad found"));

    auto* note = new QLabel(QString::fromLatin1(app::kControllerNote), this);
    note->setWordWrap(true);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &ControllerDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &ControllerDialog::reject);

    auto* groups = new QHBoxLayout;
    groups->addWidget(vehicle);
    groups->addWidget(camera);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(groups);
    layout->addLayout(grid);
    layout->addWidget(mouse);
    layout->addWidget(stick);
    layout->addWidget(keys);
    layout->addWidget(pad);
    layout->addWidget(gamepadStatus_);
    layout->addWidget(note);
    layout->addWidget(buttons);

    const app::ControllerDialogEntries e = app::controllerEntriesFrom(prefs_);
    vehicleUpDown_->setChecked(e.vehicleReverseUpDown);
    vehicleLeftRight_->setChecked(e.vehicleReverseLeftRight);
    cameraUpDown_->setChecked(e.cameraReverseUpDown);
    cameraLeftRight_->setChecked(e.cameraReverseLeftRight);
    showNumber(sensitivity_, app::kFormatWhole, e.sensitivityPercent);
    showNumber(deadzone_, app::kFormatWhole, e.deadzonePercent);
    centring_->button(app::controllerDeviceField(e.device))->setChecked(true);
}

void ControllerDialog::accept() {
    std::array<double, 2> v{};
    if (!readNumbers(std::array<QLineEdit*, 2>{sensitivity_.field, deadzone_.field}, v, messages_))
        return;
    app::ControllerDialogEntries e;
    e.vehicleReverseUpDown = vehicleUpDown_->isChecked();
    e.vehicleReverseLeftRight = vehicleLeftRight_->isChecked();
    e.cameraReverseUpDown = cameraUpDown_->isChecked();
    e.cameraReverseLeftRight = cameraLeftRight_->isChecked();
    e.sensitivityPercent = static_cast<float>(v[0]);
    e.deadzonePercent = static_cast<float>(v[1]);
    e.device = app::controllerDeviceFromField(centring_->checkedId());
    if (!app::acceptControllerForm(e, joystick_, prefs_, messages_))
        return;
    QDialog::accept();
}

} // namespace kv::dialogs
