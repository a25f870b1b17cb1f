#include "gui/customize_commands.h"

#include "app/customize/collision_form.h"
#include "app/customize/effector_template_fit.h"
#include "app/customize/tires_form.h"
#include "dialogs/aero_dialog.h"
#include "dialogs/appearance_dialog.h"
#include "dialogs/collision_dialog.h"
#include "dialogs/effector_template_dialog.h"
#include "dialogs/effectors_dialog.h"
#include "dialogs/engine_dialog.h"
#include "dialogs/mass_dialog.h"
#include "dialogs/tires_dialog.h"
#include "gui/main_window.h"
#include "model/object_model.h"

#include <span>

namespace kv::gui {

using app::CommandId;

CustomizeCommands::CustomizeCommands(MainWindow& window, app::Document& doc, MessagePort& messages)
    : window_(window), doc_(doc), messages_(messages) {}

void CustomizeCommands::install() {
    window_.setCommandHandler(CommandId::CustomizeMassProperties, [this] { massProperties(); });
    window_.setCommandHandler(CommandId::CustomizeTiresSuspension,
                              [this] { tiresAndSuspension(); });
    window_.setCommandHandler(CommandId::CustomizeAerodynamics, [this] { aerodynamics(); });
    window_.setCommandHandler(CommandId::CustomizeEngine, [this] { engine(); });
    window_.setCommandHandler(CommandId::CustomizeCollisions, [this] { collisions(); });
    window_.setCommandHandler(CommandId::CustomizeAppearance, [this] { appearance(); });
    window_.setCommandHandler(CommandId::CustomizeEffectors, [this] { effectors(); });
}

void CustomizeCommands::changed(bool resetSimulation) {
    doc_.setModified(true);
    if (resetSimulation)
        doc_.resetSimulation();
    if (redraw_)
        redraw_();
}

void CustomizeCommands::massProperties() {
    model::ObjectRecord& r = doc_.object(0);
    dialogs::MassDialog d(r.mass, doc_.preferences().englishForceUnits, messages_, &window_);
    if (d.exec() != QDialog::Accepted)
        return;
    r.mass = d.mass();
    changed(true);
}

void CustomizeCommands::tiresAndSuspension() {
    model::ObjectRecord& r = doc_.object(0);
    if (model::countTires(r) == 0) {
        messages_.showMessage(app::kNoTiresMessage);
        return;
    }
    dialogs::TiresDialog d(r, messages_, &window_);
    if (d.exec() != QDialog::Accepted)
        return;
    r.tires = d.tires();
    changed(true);
}

void CustomizeCommands::aerodynamics() {
    model::ObjectRecord& r = doc_.object(0);
    dialogs::AeroDialog d(r.aero, doc_.preferences().lengthUnitFactor, messages_, &window_);
    if (d.exec() != QDialog::Accepted)
        return;
    r.aero = d.aero();
    changed(false);
}

void CustomizeCommands::engine() {
    model::ObjectRecord& r = doc_.object(0);
    dialogs::EngineDialog d(r, doc_.preferences().englishForceUnits, messages_, &window_);
    if (d.exec() != QDialog::Accepted)
        return;
    r.engineType = d.engineType();
    r.enginePower = d.enginePower();
    r.engineScale = d.engineScale();
    changed(false);
}

void CustomizeCommands::collisions() {
    const std::span<const model::ObjectRecord> objects(
        &doc_.object(0), static_cast<std::size_t>(doc_.objectCount()));
    const int partner = app::firstInteractiveObject(objects);
    model::ObjectRecord& r = doc_.object(0);
    dialogs::CollisionDialog d(r, partner > 0 ? &doc_.object(partner) : nullptr, messages_,
                               &window_);
    if (d.exec() != QDialog::Accepted)
        return;
    r.collisionSpring = d.simulated().collisionSpring;
    r.collisionDamping = d.simulated().collisionDamping;
    r.collisionFriction = d.simulated().collisionFriction;
    if (d.partner() && partner > 0) {
        model::ObjectRecord& other = doc_.object(partner);
        other.collisionSpring = d.partner()->collisionSpring;
        other.collisionDamping = d.partner()->collisionDamping;
        other.collisionFriction = d.partner()->collisionFriction;
    }
    changed(true);
}

void CustomizeCommands::appearance() {
    model::ObjectRecord& r = doc_.object(0);
    dialogs::AppearanceDialog d(r.color, r.transparency, &window_);
    if (d.exec() != QDialog::Accepted)
        return;
    if (!app::applyAppearance(d.appearance(), r))
        return;
    doc_.setModified(true);
    if (rebuildDisplay_)
        rebuildDisplay_();
    if (redraw_)
        redraw_();
}

void CustomizeCommands::effectors() {
    model::ObjectRecord& r = doc_.object(0);
    const app::Preferences& prefs = doc_.preferences();
    const app::WorkingUnits units{prefs.lengthUnitFactor, prefs.englishForceUnits,
                                  prefs.rightHandedAxes};
    app::Document::EffectorEditorMemory& memory = doc_.effectorEditorMemory();
    bool full = !app::effectorsFitTemplate(r);
    for (;;) {
        if (!full) {
            dialogs::EffectorTemplateDialog d(r, units.lengthUnitFactor, messages_, &window_);
            const int result = d.exec();
            if (result == QDialog::Accepted) {
                // The helicopter's new landing gear also fills its tire settings.
                r.effectorCount = d.object().effectorCount;
                r.effectors = d.object().effectors;
                r.tires = d.object().tires;
                changed(true);
                return;
            }
            if (result != dialogs::EffectorTemplateDialog::kMore)
                return;
            full = true;
            continue;
        }
        dialogs::EffectorsDialog d(r, units, memory.selected, memory.relativeMode, messages_,
                                   &window_);
        const int result = d.exec();
        if (result == QDialog::Accepted) {
            r.effectorCount = d.editor().working().effectorCount;
            r.effectors = d.editor().working().effectors;
            memory.selected = d.editor().selected();
            memory.relativeMode = d.editor().relativeMode();
            changed(true);
            return;
        }
        if (result != dialogs::EffectorsDialog::kLess)
            return;
        full = false;
    }
}

} // namespace kv::gui
