#pragma once
/// Object > Customize: the dialogs that edit blocks of the simulated object's
/// record. Each runs its dialog on the simulated object of the document and,
/// on OK, stores the edited block and does the command's follow-ups: the
/// modified flag, a simulation reset for the blocks a run starts from,
/// a rebuild of the object's display after a new colour or transparency,
/// and a redraw.

#include "app/document/document.h"
#include "common/ports/messages.h"

#include <functional>

namespace kv::gui {

class MainWindow;

class CustomizeCommands {
  public:
    /// `window`, `doc` and `messages` must outlive this object.
    CustomizeCommands(MainWindow& window, app::Document& doc, MessagePort& messages);

    /// Installs the command handlers.
    void install();

    /// Called when an object's colour or transparency changed: its display
    /// lists must be built again.
    void setRebuildDisplay(std::function<void()> rebuild) { rebuildDisplay_ = std::move(rebuild); }
    /// Called after every change a dialog made, so the views show it.
    void setRedraw(std::function<void()> redraw) { redraw_ = std::move(redraw); }

    void massProperties();
    void tiresAndSuspension();
    void aerodynamics();
    void engine();
    void collisions();
    void appearance();
    /// Object > Customize > Effectors...: the vehicle's template dialog while
    /// the effectors fit it, else the full editor; "More" and "Less" switch
    /// between the two. OK stores the effectors, remembers the full editor's
    /// selection and view, marks the project modified and resets.
    void effectors();

  private:
    /// Marks the project modified, resets the simulation when asked, redraws.
    void changed(bool resetSimulation);

    MainWindow& window_;
    app::Document& doc_;
    MessagePort& messages_;
    std::function<void()> rebuildDisplay_;
    std::function<void()> redraw_;
};

} // namespace kv::gui
