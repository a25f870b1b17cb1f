#pragma once
/// The "Wind" dialog: steady wind (speed in mph or km/h, direction it comes
/// from) and turbulence (strength and duration in percent), each number
/// paired with a slider.

#include "app/dialogs/wind_form.h"
#include "common/ports/messages.h"
#include "dialogs/condition_form.h"

#include <QDialog>

class QCheckBox;

namespace kv::dialogs {

class WindDialog final : public QDialog {
    Q_OBJECT
  public:
    WindDialog(const sim::Environment& environment, float lengthUnitFactor, MessagePort& messages,
               QWidget* parent = nullptr);

    /// The edited environment (valid after OK); values other than the wind's are kept.
    const sim::Environment& environment() const { return environment_; }

    void accept() override;

    QCheckBox* steadyOn() const { return steadyOn_; }
    QCheckBox* turbulenceOn() const { return turbulenceOn_; }
    const FieldRow& speed() const { return speed_; }
    const FieldRow& direction() const { return direction_; }
    const FieldRow& strength() const { return strength_; }
    const FieldRow& duration() const { return duration_; }

  public slots:
    /// "Reset": both switches off, speed and direction 0, strength and duration 100.
    void resetToCalm();

  private:
    void showForm(const app::WindForm& form);

    sim::Environment environment_;
    float lengthUnitFactor_;
    MessagePort& messages_;
    QCheckBox* steadyOn_ = nullptr;
    QCheckBox* turbulenceOn_ = nullptr;
    FieldRow speed_;
    FieldRow direction_;
    FieldRow strength_;
    FieldRow duration_;
};

} // namespace kv::dialogs
