#pragma once
/// The "Controller" dialog: reverse switches for the vehicle and the camera,
/// sensitivity and dead zone, and where the controller is centred. OK with
/// the joystick centring stays open when no joystick answers. The device
/// choice also offers the arrow keys and a gamepad, and names the pad found.

#include "app/dialogs/controller_form.h"
#include "dialogs/condition_form.h"

#include <QDialog>

class QButtonGroup;
class QCheckBox;
class QLabel;

namespace kv::dialogs {

class ControllerDialog final : public QDialog {
    Q_OBJECT
  public:
    /// `joystick` is asked on OK only when the joystick centring is chosen;
    /// `gamepad` names the pad a run would take (asked when the dialog opens).
    ControllerDialog(const app::Preferences& prefs, app::JoystickProbe joystick,
                     MessagePort& messages, QWidget* parent = nullptr,
                     const app::GamepadProbe& gamepad = {});

    /// The preferences with the dialog's values (valid after OK).
    const app::Preferences& preferences() const { return prefs_; }

    void accept() override;

    QCheckBox* vehicleUpDown() const { return vehicleUpDown_; }
    QCheckBox* vehicleLeftRight() const { return vehicleLeftRight_; }
    QCheckBox* cameraUpDown() const { return cameraUpDown_; }
    QCheckBox* cameraLeftRight() const { return cameraLeftRight_; }
    const FieldRow& sensitivity() const { return sensitivity_; }
    const FieldRow& deadzone() const { return deadzone_; }
    /// Ids as stored: 0 "Center on Camera Window (Mouse)", 1 "Center on Full
    /// Screen (Joystick)", 2 "Keyboard (Arrow Keys)", 3 "Gamepad".
    QButtonGroup* centring() const { return centring_; }
    /// "Gamepad: <name>" or "No gamepad found".
    QLabel* gamepadStatus() const { return gamepadStatus_; }

  private:
    app::Preferences prefs_;
    app::JoystickProbe joystick_;
    MessagePort& messages_;
    QCheckBox* vehicleUpDown_ = nullptr;
    QCheckBox* vehicleLeftRight_ = nullptr;
    QCheckBox* cameraUpDown_ = nullptr;
    QCheckBox* cameraLeftRight_ = nullptr;
    FieldRow sensitivity_;
    FieldRow deadzone_;
    QButtonGroup* centring_ = nullptr;
    QLabel* gamepadStatus_ = nullptr;
};

} // namespace kv::dialogs
