#pragma once
/// The File menu, Simulation > Reset and Observe, the object library, the files dropped or
/// named on the command line and the save prompt at exit, all wired to the
/// project document. The document performs every operation; this class only
/// runs it for a command and tells the main frame what changed.

#include "app/commands/commands.h"
#include "app/document/document.h"

#include <filesystem>
#include <functional>

namespace kv::gui {

class MainWindow;

class DocumentCommands {
  public:
    /// `window` and `doc` must outlive this object.
    DocumentCommands(MainWindow& window, app::Document& doc);
    /// Takes the openers, the close guard and the state source back from the window.
    ~DocumentCommands();
    DocumentCommands(const DocumentCommands&) = delete;
    DocumentCommands& operator=(const DocumentCommands&) = delete;

    /// Installs the command handlers, the file openers, the close guard and
    /// the source of the enabling state.
    void install();

    /// Called after New Project and Open Project: the preferences may have
    /// changed with the project, so the views and the camera window follow.
    void setAfterProjectChange(std::function<void()> callback) {
        afterProjectChange_ = std::move(callback);
    }

    /// The state the enabling and check rules read, taken from the document.
    app::CommandState commandState() const;

    /// Opens a dropped or command-line file by its extension.
    void openFile(const std::filesystem::path& file);

  private:
    void handle(app::CommandId id, std::function<void()> action);
    void projectChanged();

    MainWindow& window_;
    app::Document& doc_;
    std::function<void()> afterProjectChange_;
};

} // namespace kv::gui
