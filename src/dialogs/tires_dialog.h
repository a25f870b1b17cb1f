#pragma once
/// The "Tires and Suspension" dialog: braking, road surface, skid and tire
/// type for the whole object, and drive, brake, spring and bounce per tire.
/// Works on a copy of the tire block; OK writes it (see app::TiresModel).

#include "app/customize/tires_form.h"
#include "common/ports/messages.h"
#include "model/object_record.h"

#include <QDialog>

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;
class QSlider;

namespace kv::dialogs {

class SliderLink;

class TiresDialog final : public QDialog {
    Q_OBJECT
  public:
    /// `object` must have a Tire or Skid effector.
    TiresDialog(const model::ObjectRecord& object, MessagePort& messages,
                QWidget* parent = nullptr);

    /// The edited tire block (valid after OK).
    const model::TireSuspension& tires() const { return tires_; }

    void accept() override;

    /// The field or slider of a TiresField (braking, surface, spring, bounce of the shown tire).
    QLineEdit* field(app::TiresField which) const;
    QSlider* slider(app::TiresField which) const;
    QComboBox* tireList() const { return tireList_; }
    QCheckBox* driveBox() const { return drive_; }
    QCheckBox* brakeBox() const { return brake_; }
    /// Ids: the tireType codes.
    QButtonGroup* tireTypeButtons() const { return tireTypes_; }
    /// Ids: 1 "Skid", 0 "No Skid".
    QButtonGroup* skidButtons() const { return skid_; }
    QPushButton* applyButton() const { return apply_; }

  private:
    app::TireSettingsForm showing() const;
    void showSettings(const app::TireSettingsForm& tire);
    void showTire(int index);
    void applyToAllTires();
    void updateEnabling();

    app::TiresModel model_;
    model::TireSuspension tires_;
    MessagePort& messages_;
    SliderLink* braking_ = nullptr;
    SliderLink* surface_ = nullptr;
    SliderLink* spring_ = nullptr;
    SliderLink* bounce_ = nullptr;
    QComboBox* tireList_ = nullptr;
    QCheckBox* drive_ = nullptr;
    QCheckBox* brake_ = nullptr;
    QButtonGroup* tireTypes_ = nullptr;
    QButtonGroup* skid_ = nullptr;
    QPushButton* apply_ = nullptr;
};

} // namespace kv::dialogs
