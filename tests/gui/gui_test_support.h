#pragma once
// Fakes shared by the desktop tests.

#include "common/ports/clock.h"
#include "common/ports/messages.h"

#include <QApplication>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <string>
#include <vector>

namespace kv::guitest {

/// Keeps every message instead of showing it.
class RecordingMessages final : public MessagePort {
  public:
    std::vector<std::string> messages;
    void showMessage(std::string_view text) override { messages.emplace_back(text); }
};

/// A clock set by hand.
class ManualClock final : public ClockPort {
  public:
    double now = 0.0;
    double elapsed() override { return now; }
    void restart() override { now = 0.0; }
    bool waitUntil(double period) override {
        now = period;
        return false;
    }
};

/// Runs `answer` on the next modal widget as soon as it is shown; polls every 20 ms.
inline void whenModalShown(std::function<void(QWidget*)> answer) {
    auto* timer = new QTimer;
    timer->setInterval(20);
    QObject::connect(timer, &QTimer::timeout, [timer, answer] {
        if (QWidget* modal = QApplication::activeModalWidget()) {
            timer->stop();
            timer->deleteLater();
            answer(modal);
        }
    });
    timer->start();
}

} // namespace kv::guitest
