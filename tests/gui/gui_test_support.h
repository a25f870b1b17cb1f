#pragma once
// Fakes shared by the desktop tests.

#include "common/ports/clock.h"
#include "common/ports/files.h"
#include "common/ports/messages.h"
#include "common/ports/question.h"

#include <QApplication>
#include <QTimer>
#include <QWidget>
#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace kv::guitest {

/// Keeps every message instead of showing it.
class RecordingMessages final : public MessagePort {
  public:
    std::vector<std::string> messages;
    void showMessage(std::string_view text) override { messages.emplace_back(text); }
};

/// Answers each file request with the next scripted path (nothing: the
/// dialog was cancelled) and keeps every request.
class ScriptedFiles final : public FilePort {
  public:
    std::deque<std::optional<std::string>> answers;
    std::vector<FileRequest> requests;
    std::optional<std::string> choose(const FileRequest& request) override {
        requests.push_back(request);
        if (answers.empty())
            return std::nullopt;
        auto next = answers.front();
        answers.pop_front();
        return next;
    }
};

/// Answers every "Save First?" question alike and keeps the texts asked.
class ScriptedQuestions final : public QuestionPort {
  public:
    SaveAnswer answer = SaveAnswer::kCancel;
    std::vector<std::string> asked;
    SaveAnswer askSaveFirst(std::string_view text) override {
        asked.emplace_back(text);
        return answer;
    }
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
