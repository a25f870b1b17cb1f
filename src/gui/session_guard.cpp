#include "gui/session_guard.h"

#include "app/document/document.h"
#include "common/interrupt_signals.h"
#include "gui/live_run.h"

#include <QApplication>
#include <QGuiApplication>
#include <QMessageBox>
#include <QSessionManager>
#include <QTimer>
#include <QWidget>
#include <cstdio>
#include <cstdlib>

namespace kv::gui {

namespace {

/// How often a recorded signal is looked for (ms): well inside the 2 s a
/// stopping program may take.
constexpr int kSignalPollMs = 50;

constexpr int kMillisecondsPerMinute = 60 * 1000;

/// Recovery must never stop the program with a box (least of all while it
/// is being asked to end): its troubles go to stderr.
class StderrNotes final : public MessagePort {
  public:
    void showMessage(std::string_view text) override {
        std::fprintf(stderr, "kestrovane: %.*s\n", static_cast<int>(text.size()), text.data());
    }
};

StderrNotes& quietMessages() {
    static StderrNotes notes;
    return notes;
}

} // namespace

SessionGuard::SessionGuard(app::Document& document, LiveRun& live, MessagePort& messages,
                           std::filesystem::path recoveryRoot, QWidget* parent)
    : document_(document), live_(live), messages_(messages), root_(std::move(recoveryRoot)),
      parent_(parent), recovery_(root_), signalPoll_(std::make_unique<QTimer>()),
      autosave_(std::make_unique<QTimer>()) {
    catchInterruptSignals();
    exit_ = [this] {
        if (QApplication::activeModalWidget() == nullptr &&
            QApplication::activePopupWidget() == nullptr) {
            QCoreApplication::exit(EXIT_SUCCESS);
            return;
        }
        // A dialog's own loop would go on after exit() asks it to end:
        // everything worth keeping is written, so end here.
        std::fflush(nullptr);
        std::_Exit(EXIT_SUCCESS);
    };
    signalPoll_->setInterval(kSignalPollMs);
    QObject::connect(signalPoll_.get(), &QTimer::timeout, [this] { poll(); });
    signalPoll_->start();
    QObject::connect(autosave_.get(), &QTimer::timeout, [this] { autosave(); });
    if (auto* app = qobject_cast<QGuiApplication*>(QCoreApplication::instance())) {
        // The poll timer, which goes with this object, owns the connection.
        QObject::connect(
            app, &QGuiApplication::commitDataRequest, signalPoll_.get(),
            [this](QSessionManager& manager) { commitData(manager); }, Qt::DirectConnection);
    }
}

SessionGuard::~SessionGuard() = default;

void SessionGuard::setIntervalMinutes(int minutes) {
    const int interval = minutes * kMillisecondsPerMinute;
    if (minutes > 0 && autosave_->isActive() && autosave_->interval() == interval)
        return; // the same interval goes on counting
    if (minutes <= 0) {
        autosave_->stop();
        return;
    }
    autosave_->start(interval);
}

void SessionGuard::poll() {
    if (interruptSignal() != 0)
        stop();
}

void SessionGuard::autosave() {
    if (stopped_ || live_.running() || (busy_ && busy_()) || !document_.modified())
        return;
    recovery_.writeProject(document_, quietMessages());
}

void SessionGuard::runEnded() {
    recovery_.writeTakes(document_, quietMessages());
}

void SessionGuard::stop() {
    // A run in progress ends at its next frame (it polls the same signal);
    // its takes are written as it ends, then the next poll comes here again.
    if (stopped_ || live_.running() || (busy_ && busy_()))
        return;
    stopped_ = true;
    signalPoll_->stop();
    autosave_->stop();
    recovery_.writeProject(document_, quietMessages());
    if (removeWorkingFolders_)
        removeWorkingFolders_();
    if (exit_)
        exit_();
}

void SessionGuard::commitData(QSessionManager& manager) {
    // The session is ending: no question may hold the logout up.
    manager.setRestartHint(QSessionManager::RestartNever);
    // A run or a job ends at its next step (both poll the same request); the
    // poll then finishes the work.
    requestStop();
    stop();
}

void SessionGuard::cleanExit() {
    if (!stopped_)
        recovery_.clear();
}

void SessionGuard::offerRecovery() {
    const std::vector<app::RecoverySession> sessions = app::sessionsLeftBehind(root_);
    if (sessions.empty())
        return;
    const app::RecoverySession& last = sessions.front();
    QMessageBox box(QMessageBox::Question, QStringLiteral("Kestrovane"),
                    QString::fromLatin1(kRecoverQuestion), QMessageBox::Yes | QMessageBox::No,
                    parent_);
    box.setObjectName(QStringLiteral("recoverSessionBox"));
    box.setAccessibleName(QString::fromLatin1(kRecoverQuestion));
    box.setDefaultButton(QMessageBox::Yes);
    if (box.exec() != QMessageBox::Yes) {
        app::setSessionAside(last);
        return;
    }
    if (!app::recoverSession(last, document_, messages_)) {
        // Kept for another try; nothing is lost by a failed recovery.
        app::setSessionAside(last);
        return;
    }
    // The recovered work is this program's now: keep it as its own, then
    // let the old session go.
    recovery_.writeTakes(document_, quietMessages());
    recovery_.writeProject(document_, quietMessages());
    app::removeSession(last);
    if (afterRecovery_)
        afterRecovery_();
}

} // namespace kv::gui
