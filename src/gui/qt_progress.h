#pragma once
/// The progress display on Qt: the modeless "Status" window with its bar, the
/// job's label and "Press ESC to Abort", and the progress port built on it.
/// While the window is open all keyboard and mouse input to the program is
/// held back, so that no command can start in the middle of a job; ESC key
/// presses are noted for the job.

#include "app/windows/progress_timing.h"
#include "common/interrupt_signals.h"
#include "common/steady_clock.h"

#include <QDialog>
#include <QObject>
#include <QPointer>

class QLabel;
class QProgressBar;
class QWidget;

namespace kv::gui {

class QtProgressWindow final : public QObject, public app::ProgressWindow {
    Q_OBJECT
  public:
    /// The window is centred on `frame` (may be null).
    explicit QtProgressWindow(QWidget* frame = nullptr) : frame_(frame) {}
    ~QtProgressWindow() override;
    void setFrame(QWidget* frame) { frame_ = frame; }

    void open(std::string_view label, std::string_view secondLine) override;
    void setPercent(int percent) override;
    bool takeEscapePress() override;
    void close() override;

    /// The open window, or null.
    QDialog* dialog() const { return dialog_; }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    QWidget* frame_;
    QPointer<QDialog> dialog_;
    QProgressBar* bar_ = nullptr;
    bool escapePressed_ = false;
};

/// The core's progress port for the desktop.
class QtProgress final : public ProgressPort {
  public:
    explicit QtProgress(QWidget* frame = nullptr) : window_(frame) {}
    void setFrame(QWidget* frame) { window_.setFrame(frame); }
    void start(std::string_view title) override {
        active_ = true;
        port_.start(title);
    }
    /// A stop request from outside (a signal) aborts the job as ESC does.
    bool update(double fraction) override {
        return port_.update(fraction) && interruptSignal() == 0;
    }
    void finish() override {
        port_.finish();
        active_ = false;
    }
    /// True between start and finish: a job is under way.
    bool active() const { return active_; }
    void setEscapeAllowed(bool allowed) { port_.setEscapeAllowed(allowed); }

    QtProgressWindow& window() { return window_; }
    app::ProgressDisplay& display() { return display_; }

  private:
    kv::SteadyClock clock_;
    QtProgressWindow window_;
    app::ProgressDisplay display_{clock_, window_};
    app::ProgressPortDisplay port_{display_};
    bool active_ = false;
};

} // namespace kv::gui
