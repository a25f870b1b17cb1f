#pragma once
/// The "Aerodynamics" dialog: the model buttons and, for "Linear Aero", span,
/// area, aspect ratio, initial angle of attack and the 24 coefficients.

#include "app/customize/aero_form.h"
#include "common/ports/messages.h"
#include "model/object_record.h"

#include <QDialog>
#include <array>

class QButtonGroup;
class QLineEdit;

namespace kv::dialogs {

class AeroDialog final : public QDialog {
    Q_OBJECT
  public:
    /// Span and area are shown in the length unit `lengthUnitFactor` (ft per unit).
    AeroDialog(const model::AeroData& aero, float lengthUnitFactor, MessagePort& messages,
               QWidget* parent = nullptr);

    /// The edited block (valid after OK).
    const model::AeroData& aero() const { return aero_; }

    void accept() override;

    /// Fields by app::AeroField (coefficient k at kAeroCoefficientField + k).
    QLineEdit* field(int index) const;
    /// Ids: the aeroModel codes.
    QButtonGroup* modelButtons() const { return models_; }

  private:
    void updateEnabling();

    model::AeroData aero_;
    float lengthUnitFactor_;
    MessagePort& messages_;
    app::AeroForm shown_;
    QButtonGroup* models_ = nullptr;
    std::array<QLineEdit*, 4> values_{};
    std::array<QLineEdit*, model::kAeroCoefficientCount> coefficients_{};
};

} // namespace kv::dialogs
