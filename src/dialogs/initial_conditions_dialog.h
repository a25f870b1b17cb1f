#pragma once
/// The "Initial Conditions" dialog: the simulated object's starting position,
/// velocity, orientation and angular rate, with "Load..." taking them from a
/// recorded motion file at a time. Nothing is stored until OK.

#include "app/dialogs/initial_conditions_form.h"
#include "common/ports/messages.h"

#include <QDialog>
#include <array>
#include <functional>
#include <optional>

class QLabel;
class QLineEdit;
class QPushButton;

namespace kv::dialogs {

/// Reads the initial conditions at a time (s) from a motion file the user
/// chooses; nothing when no file was chosen or it could not be read.
using InitialConditionsLoader = std::function<std::optional<model::InitialConditions>(float time)>;

/// The initial conditions with the height that rests the vehicle on the
/// ground under their north and east, attitude kept.
using InitialConditionsGrounder =
    std::function<model::InitialConditions(const model::InitialConditions& initial)>;

class InitialConditionsDialog final : public QDialog {
    Q_OBJECT
  public:
    InitialConditionsDialog(const model::InitialConditions& initial, const app::WorkingUnits& units,
                            InitialConditionsLoader loader, MessagePort& messages,
                            QWidget* parent = nullptr);

    /// The edited block (valid after OK).
    const model::InitialConditions& initialConditions() const { return initial_; }

    void accept() override;

    /// Fields in the dialog's order: position 0..2, velocity 3..5,
    /// orientation (yaw, pitch, roll) 6..8, angular rate 9..11.
    QLineEdit* field(int index) const { return fields_.at(static_cast<std::size_t>(index)); }
    QLabel* label(int index) const { return labels_.at(static_cast<std::size_t>(index)); }
    QLineEdit* minutesField() const { return minutes_; }
    QLineEdit* secondsField() const { return seconds_; }
    QPushButton* onGroundButton() const { return onGround_; }

    /// Gives "On Ground" its work; without it the button stays disabled.
    void setGrounder(InitialConditionsGrounder grounder);

  public slots:
    /// "Reset": all twelve fields 0.
    void resetToZero();
    /// "Load...": the recorded state at the time in the min:sec fields.
    void loadFromMotion();
    /// "On Ground": the height that rests the vehicle on the ground under
    /// the north and east in the fields.
    void putOnGround();

  private:
    void showForm(const app::InitialConditionsForm& form);
    /// The fields as a block; none (with a message) when one is not a number.
    std::optional<model::InitialConditions> readFields();

    model::InitialConditions initial_;
    app::WorkingUnits units_;
    InitialConditionsLoader loader_;
    InitialConditionsGrounder grounder_;
    MessagePort& messages_;
    std::array<QLineEdit*, 12> fields_{};
    std::array<QLabel*, 12> labels_{};
    QLineEdit* minutes_ = nullptr;
    QLineEdit* seconds_ = nullptr;
    QPushButton* onGround_ = nullptr;
};

} // namespace kv::dialogs
