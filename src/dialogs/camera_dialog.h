#pragma once
/// The "Camera" dialog: update rate, camera motion, field-chart overlays,
/// lens presets with aspect ratio and field of view, jitter and bounce.

#include "app/dialogs/camera_form.h"
#include "common/ports/messages.h"
#include "dialogs/condition_form.h"

#include <QDialog>

class QCheckBox;
class QComboBox;

namespace kv::dialogs {

class CameraDialog final : public QDialog {
    Q_OBJECT
  public:
    CameraDialog(const app::Preferences& prefs, MessagePort& messages, QWidget* parent = nullptr);

    /// The values entered (valid after OK).
    const app::CameraForm& form() const { return form_; }

    void accept() override;

    const FieldRow& updateRate() const { return updateRate_; }
    const FieldRow& lag() const { return lag_; }
    const FieldRow& maxVelocity() const { return maxVelocity_; }
    const FieldRow& maxAngularRate() const { return maxAngularRate_; }
    const FieldRow& drag() const { return drag_; }
    const FieldRow& aspectRatio() const { return aspect_; }
    const FieldRow& fieldOfView() const { return fieldOfView_; }
    const FieldRow& jitterPosition() const { return jitterPosition_; }
    const FieldRow& jitterAngle() const { return jitterAngle_; }
    const FieldRow& spring() const { return spring_; }
    const FieldRow& bounce() const { return bounce_; }
    QComboBox* presets() const { return presets_; }
    QCheckBox* useWindowAspect() const { return useWindowAspect_; }

  private:
    void choosePreset(int index);

    app::CameraForm form_;
    MessagePort& messages_;
    FieldRow updateRate_, lag_, maxVelocity_, maxAngularRate_, drag_;
    FieldRow aspect_, fieldOfView_;
    FieldRow jitterPosition_, jitterAngle_, spring_, bounce_;
    QCheckBox* actionSafe_ = nullptr;
    QCheckBox* titleSafe_ = nullptr;
    QCheckBox* crossLine_ = nullptr;
    QCheckBox* hatchLine_ = nullptr;
    QCheckBox* useWindowAspect_ = nullptr;
    QCheckBox* jitterOn_ = nullptr;
    QCheckBox* bounceOn_ = nullptr;
    QCheckBox* lockLongitudinal_ = nullptr;
    QCheckBox* lockLateral_ = nullptr;
    QCheckBox* lockVertical_ = nullptr;
    QComboBox* presets_ = nullptr;
};

} // namespace kv::dialogs
