#pragma once
/// Ties the instrument panel and the project window to the document and the
/// live run: the panel is drawn after every frame of a run (and redrawn whole
/// when idle), the project tree is rebuilt after every command, every project
/// change and whenever F11 changes the followed object, and the tree's
/// buttons run the document's operations.

#include "app/project_tree/project_items.h"
#include "common/ports/messages.h"
#include "gui/panel_link.h"

#include <vector>

namespace kv::app {
class Document;
}

namespace kv::gui {

class LiveRun;
class MainWindow;

class ViewLinks {
  public:
    /// All four must outlive this object.
    ViewLinks(MainWindow& window, app::Document& doc, LiveRun& live, MessagePort& messages);
    ~ViewLinks();
    ViewLinks(const ViewLinks&) = delete;
    ViewLinks& operator=(const ViewLinks&) = delete;

    /// One panel frame: during a run (`live`) the gauge strip and what
    /// changed, else the whole panel. Nothing while the panel is hidden.
    void drawPanel(bool live);
    /// Rebuilds the project tree and sets the project window's title.
    void refreshProjectTree();
    /// After a command (`id`, or -1 after opened files): the tree, the panel,
    /// and for a new simulated object the viewing distance.
    void afterCommand(int id);
    /// The external camera's distance from the simulated object's viewing distance.
    void applyViewingDistance();

    /// The project window's buttons and Delete key on row `row`.
    void saveAs(int row, bool alt);
    void remove(int row);
    void transform(int row);
    void color(int row);

    const std::vector<app::ProjectItem>& items() const { return items_; }
    int panelFrames() const { return panel_.frames(); }

  private:
    /// The views follow a change of the project's contents.
    void projectChanged();
    int followed() const;

    MainWindow& window_;
    app::Document& doc_;
    LiveRun& live_;
    MessagePort& messages_;
    PanelLink panel_;
    std::vector<app::ProjectItem> items_;
    int shownFollowed_ = -1;
};

} // namespace kv::gui
