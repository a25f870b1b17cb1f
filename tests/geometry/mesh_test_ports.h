#pragma once
// Recording fakes of the message and progress ports for the mesh tests.

#include "common/ports/messages.h"
#include "common/ports/progress.h"

#include <string>
#include <string_view>
#include <vector>

namespace kv::geom::meshtest {

class RecordedMessages final : public MessagePort {
  public:
    void showMessage(std::string_view text) override { shown.emplace_back(text); }
    std::vector<std::string> shown;
};

/// Records the progress calls; answers "abort" from update number `abortAt` on
/// (counting from 1; 0 never aborts).
class ScriptedProgress final : public ProgressPort {
  public:
    explicit ScriptedProgress(int abortAtUpdate = 0) : abortAt(abortAtUpdate) {}
    void start(std::string_view title) override {
        titles.emplace_back(title);
        ++starts;
    }
    bool update(double fraction) override {
        fractions.push_back(fraction);
        return abortAt == 0 || static_cast<int>(fractions.size()) < abortAt;
    }
    void finish() override { ++finishes; }

    int abortAt;
    std::vector<std::string> titles;
    std::vector<double> fractions;
    int starts = 0;
    int finishes = 0;
};

} // namespace kv::geom::meshtest
