#pragma once
/// The "Gravity" dialog: gravity in g's with a slider in tenths of a g
/// (-2 g .. 4 g); negative gravity is allowed.

#include "common/ports/messages.h"
#include "dialogs/condition_form.h"

#include <QDialog>

namespace kv::dialogs {

class GravityDialog final : public QDialog {
    Q_OBJECT
  public:
    /// `gravity` in ft/s^2.
    GravityDialog(float gravity, MessagePort& messages, QWidget* parent = nullptr);

    /// The edited gravity (ft/s^2, valid after OK).
    float gravity() const { return gravity_; }

    void accept() override;

    const FieldRow& row() const { return row_; }

  public slots:
    /// "Reset": one g, slider at 10.
    void resetToOneG();

  private:
    float gravity_;
    MessagePort& messages_;
    FieldRow row_;
};

} // namespace kv::dialogs
