#pragma once
/// The "Mass Properties" dialog: mass and moments of inertia in the working
/// force units, the three couplings in percent. Works on a copy of the mass
/// block; OK refuses a mass or inertia that is not above zero.

#include "app/customize/mass_form.h"
#include "common/ports/messages.h"
#include "model/object_record.h"

#include <QDialog>
#include <array>

class QLabel;
class QLineEdit;
class QSlider;

namespace kv::dialogs {

class SliderLink;

class MassDialog final : public QDialog {
    Q_OBJECT
  public:
    MassDialog(const model::MassProperties& mass, std::int32_t englishForceUnits,
               MessagePort& messages, QWidget* parent = nullptr);

    /// The edited block (valid after OK).
    const model::MassProperties& mass() const { return mass_; }

    void accept() override;

    /// Fields by app::MassField.
    QLineEdit* field(int index) const;
    /// Coupling sliders 0..2 (roll/pitch, roll/yaw, pitch/yaw).
    QSlider* couplingSlider(int index) const;

  private:
    model::MassProperties mass_;
    std::int32_t english_;
    MessagePort& messages_;
    app::MassForm shown_;
    std::array<QLineEdit*, 4> values_{};
    std::array<SliderLink*, 3> couplings_{};
};

} // namespace kv::dialogs
