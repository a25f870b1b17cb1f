#pragma once
/// Fakes of the ports a document needs: a file chooser answered from a script,
/// a scripted "Save First?" answer and a private working folder, bundled with
/// a recording message port so a test builds a document in one line.
#include "app/document/document.h"
#include "common/ports/files.h"
#include "common/ports/question.h"
#include "geometry/working_files.h"
#include "support/file_test_support.h"

#include <deque>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace kv::test {

/// Answers each request with the next scripted path (nothing: cancelled) and
/// records every request.
class ScriptedFiles final : public FilePort {
  public:
    std::optional<std::string> choose(const FileRequest& request) override {
        requests.push_back(request);
        if (answers.empty())
            return std::nullopt;
        auto next = answers.front();
        answers.pop_front();
        return next;
    }
    std::deque<std::optional<std::string>> answers;
    std::vector<FileRequest> requests;
};

class ScriptedQuestions final : public QuestionPort {
  public:
    SaveAnswer askSaveFirst(std::string_view text) override {
        asked.emplace_back(text);
        return answer;
    }
    SaveAnswer answer = SaveAnswer::kCancel;
    std::vector<std::string> asked;
};

/// A document with fake ports, allocated with `memory`.
struct DocumentRig {
    explicit DocumentRig(app::MemorySettings memory = app::kFactoryMemory);
    filetest::MessageLog messages;
    NullProgress progress;
    ScriptedFiles files;
    ScriptedQuestions questions;
    std::unique_ptr<geom::PrivateWorkingFolder> folder;
    std::unique_ptr<app::Document> doc;
};

} // namespace kv::test
