#pragma once
/// The "External Force" dialog: the point of application, force and moment
/// applied with the mouse during a run, and the axes they are given in.

#include "app/dialogs/external_force_form.h"
#include "common/ports/messages.h"

#include <QDialog>
#include <array>

class QButtonGroup;
class QLabel;
class QLineEdit;

namespace kv::dialogs {

class ExternalForceDialog final : public QDialog {
    Q_OBJECT
  public:
    ExternalForceDialog(const sim::ExternalForceSettings& settings, const app::WorkingUnits& units,
                        MessagePort& messages, QWidget* parent = nullptr);

    /// The edited settings (valid after OK).
    const sim::ExternalForceSettings& settings() const { return settings_; }

    void accept() override;

    /// Fields: position 0..2, force 3..5, moment (yaw, pitch, roll) 6..8.
    QLineEdit* field(int index) const { return fields_.at(static_cast<std::size_t>(index)); }
    QLabel* label(int index) const { return labels_.at(static_cast<std::size_t>(index)); }
    /// Ids: 1 "World Frame", 0 "Body Frame".
    QButtonGroup* axesButtons() const { return axes_; }

  public slots:
    /// "Reset": the nine values 0; the axes choice is kept.
    void resetToZero();

  private:
    void showForm(const app::ExternalForceForm& form);
    app::ExternalForceForm currentAxesOnly() const;

    sim::ExternalForceSettings settings_;
    app::WorkingUnits units_;
    MessagePort& messages_;
    std::array<QLineEdit*, 9> fields_{};
    std::array<QLabel*, 9> labels_{};
    QButtonGroup* axes_ = nullptr;
};

} // namespace kv::dialogs
