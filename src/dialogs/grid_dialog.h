#pragma once
/// The "Grid" dialog: the ground grid's switches, spacing and size, and the
/// terrain display resolution.

#include "app/dialogs/grid_form.h"
#include "common/ports/messages.h"
#include "dialogs/condition_form.h"

#include <QDialog>

class QCheckBox;

namespace kv::dialogs {

class GridDialog final : public QDialog {
    Q_OBJECT
  public:
    GridDialog(const app::Preferences& prefs, MessagePort& messages, QWidget* parent = nullptr);

    /// The values entered (valid after OK).
    const app::GridForm& form() const { return form_; }

    void accept() override;

    QCheckBox* gridOn() const { return gridOn_; }
    QCheckBox* centringOn() const { return centringOn_; }
    const FieldRow& spacing() const { return spacing_; }
    const FieldRow& size() const { return size_; }
    const FieldRow& resolution() const { return resolution_; }

  private:
    app::GridForm form_;
    MessagePort& messages_;
    QCheckBox* gridOn_ = nullptr;
    QCheckBox* centringOn_ = nullptr;
    FieldRow spacing_;
    FieldRow size_;
    FieldRow resolution_;
};

} // namespace kv::dialogs
