#pragma once
/// The "Working Units" dialog: the length unit, the force/mass/inertia system
/// and the coordinate system every other dialog shows its values in.

#include "app/dialogs/working_units_form.h"

#include <QDialog>

class QButtonGroup;

namespace kv::dialogs {

class WorkingUnitsDialog final : public QDialog {
    Q_OBJECT
  public:
    explicit WorkingUnitsDialog(const app::Preferences& prefs, QWidget* parent = nullptr);

    /// The choices made (valid after OK).
    app::WorkingUnitsForm form() const;

    /// Ids are indices into kLengthChoices.
    QButtonGroup* lengthButtons() const { return length_; }
    /// Ids: 1 "lbf/lb/lb-ft2", 0 "N/kg/kg-m2".
    QButtonGroup* forceButtons() const { return force_; }
    /// Ids: 1 "Right Hand", 0 "Left Hand".
    QButtonGroup* handButtons() const { return hand_; }

  private:
    int storedLength_;
    QButtonGroup* length_ = nullptr;
    QButtonGroup* force_ = nullptr;
    QButtonGroup* hand_ = nullptr;
};

} // namespace kv::dialogs
