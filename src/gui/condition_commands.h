#pragma once
/// The Simulation menu's four condition dialogs: Initial Conditions, Wind,
/// Gravity and External Force. Each edits a copy and stores it on OK; none
/// marks the project modified. Initial Conditions resets the simulation and
/// redraws.

#include "app/document/document.h"
#include "app/settings/units.h"
#include "common/ports/messages.h"

#include <functional>

namespace kv::gui {

class MainWindow;

class ConditionCommands {
  public:
    /// `window`, `doc` and `messages` must outlive this object.
    ConditionCommands(MainWindow& window, app::Document& doc, MessagePort& messages);

    /// Installs the four handlers.
    void install();
    /// Called after the simulation was reset (the views redraw from it).
    void setRedraw(std::function<void()> redraw) { redraw_ = std::move(redraw); }

    // The commands, as their menu items run them.
    void initialConditions();
    void wind();
    void gravity();
    void externalForce();

  private:
    app::WorkingUnits units() const;

    MainWindow& window_;
    app::Document& doc_;
    MessagePort& messages_;
    std::function<void()> redraw_;
};

} // namespace kv::gui
