#include "gui/condition_commands.h"

#include "dialogs/external_force_dialog.h"
#include "dialogs/gravity_dialog.h"
#include "dialogs/initial_conditions_dialog.h"
#include "dialogs/wind_dialog.h"
#include "gui/main_window.h"

namespace kv::gui {

using app::CommandId;

ConditionCommands::ConditionCommands(MainWindow& window, app::Document& doc, MessagePort& messages)
    : window_(window), doc_(doc), messages_(messages) {}

app::WorkingUnits ConditionCommands::units() const {
    const app::Preferences& p = doc_.preferences();
    return {p.lengthUnitFactor, p.englishForceUnits, p.rightHandedAxes};
}

void ConditionCommands::install() {
    window_.setCommandHandler(CommandId::InitialConditions, [this] { initialConditions(); });
    window_.setCommandHandler(CommandId::Wind, [this] { wind(); });
    window_.setCommandHandler(CommandId::Gravity, [this] { gravity(); });
    window_.setCommandHandler(CommandId::ExternalForce, [this] { externalForce(); });
}

void ConditionCommands::initialConditions() {
    dialogs::InitialConditionsDialog dialog(
        doc_.object(0).initial, units(),
        [this](float time) { return doc_.initialConditionsFrom(time); }, messages_, &window_);
    dialog.setGrounder([this](const model::InitialConditions& initial) { return doc_.onGround(initial); });
    if (dialog.exec() != QDialog::Accepted)
        return;
    doc_.object(0).initial = dialog.initialConditions();
    doc_.resetSimulation();
    if (redraw_)
        redraw_();
}

void ConditionCommands::wind() {
    dialogs::WindDialog dialog(doc_.environment(), doc_.preferences().lengthUnitFactor, messages_,
                               &window_);
    if (dialog.exec() == QDialog::Accepted)
        doc_.setEnvironment(dialog.environment());
}

void ConditionCommands::gravity() {
    dialogs::GravityDialog dialog(doc_.state().gravity, messages_, &window_);
    if (dialog.exec() == QDialog::Accepted)
        doc_.state().gravity = dialog.gravity();
}

void ConditionCommands::externalForce() {
    dialogs::ExternalForceDialog dialog(doc_.environment().externalForce, units(), messages_,
                                        &window_);
    if (dialog.exec() != QDialog::Accepted)
        return;
    sim::Environment environment = doc_.environment();
    environment.externalForce = dialog.settings();
    doc_.setEnvironment(environment);
}

} // namespace kv::gui
