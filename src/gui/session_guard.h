#pragma once
/// Keeps the desktop program's work safe from an abrupt end. After every run
/// the takes go to this program's recovery folder, and a modified project
/// every few minutes. A stop request from outside (SIGINT, SIGTERM, SIGHUP,
/// or the desktop session logging out) ends a run as ESC does, writes the
/// recovery data, removes the working folders and exits with status 0
/// without asking anything. At start it offers what a program that ended
/// uncleanly left behind.

#include "app/recovery/session_recovery.h"
#include "common/ports/messages.h"

#include <filesystem>
#include <functional>
#include <memory>

class QSessionManager;
class QTimer;
class QWidget;

namespace kv::app {
class Document;
}

namespace kv::gui {

class LiveRun;

/// The question asked at start when an earlier program left its session.
inline constexpr const char* kRecoverQuestion = "Recover the last session?";

class SessionGuard {
  public:
    /// `recoveryRoot` is the user's recovery folder; `parent` owns the question box.
    SessionGuard(app::Document& document, LiveRun& live, MessagePort& messages,
                 std::filesystem::path recoveryRoot, QWidget* parent);
    ~SessionGuard();
    SessionGuard(const SessionGuard&) = delete;
    SessionGuard& operator=(const SessionGuard&) = delete;

    /// Called when a stop request has been dealt with: the default removes
    /// the working folders (through `removeWorkingFolders`) and ends the
    /// program with status 0. Tests replace it.
    void setExit(std::function<void()> exit) { exit_ = std::move(exit); }
    /// Removes the program's working folders; called before the exit.
    void setRemoveWorkingFolders(std::function<void()> remove) {
        removeWorkingFolders_ = std::move(remove);
    }
    /// True while a job (a file operation with its progress display) is under
    /// way: a stop request then waits for it to end, as a run's does.
    void setBusy(std::function<bool()> busy) { busy_ = std::move(busy); }
    /// Called after a recovered session replaced the project.
    void setAfterRecovery(std::function<void()> callback) { afterRecovery_ = std::move(callback); }

    /// Asks "Recover the last session?" when a program that ended uncleanly
    /// left one. Yes opens it (its project and takes); No moves it aside.
    void offerRecovery();
    /// Writes the takes of the run that has just ended.
    void runEnded();
    /// Minutes between project copies (0: none).
    void setIntervalMinutes(int minutes);
    /// The program is ending as the user asked: nothing needs recovering.
    void cleanExit();
    /// True once a stop request ended the program's work.
    bool stopped() const { return stopped_; }

    const app::SessionRecovery& recovery() const { return recovery_; }

  private:
    void poll();
    void autosave();
    /// Ends the program's work after a stop request, if no run is in progress.
    void stop();
    void commitData(QSessionManager& manager);

    app::Document& document_;
    LiveRun& live_;
    MessagePort& messages_;
    std::filesystem::path root_;
    QWidget* parent_;
    app::SessionRecovery recovery_;
    std::unique_ptr<QTimer> signalPoll_;
    std::unique_ptr<QTimer> autosave_;
    std::function<void()> exit_;
    std::function<void()> removeWorkingFolders_;
    std::function<void()> afterRecovery_;
    std::function<bool()> busy_;
    bool stopped_ = false;
};

} // namespace kv::gui
