#pragma once
/// What the command-line tool answers when a document asks: each save dialog
/// gets the path given for its title on the command line (none: cancelled),
/// and "Save First?" is never wanted, since the tool keeps no project.

#include "common/ports/files.h"
#include "common/ports/question.h"

#include <map>
#include <optional>
#include <string>

namespace kv::cli {

class DocumentAnswers final : public FilePort, public QuestionPort {
  public:
    /// Answers the dialog titled `title` (e.g. "Save Sim Motion As:") with `path`.
    void set(const std::string& title, const std::string& path) { paths_[title] = path; }

    std::optional<std::string> choose(const FileRequest& request) override {
        const auto it = paths_.find(request.title);
        if (it == paths_.end())
            return std::nullopt;
        return it->second;
    }
    SaveAnswer askSaveFirst(std::string_view) override { return SaveAnswer::kDontSave; }

  private:
    std::map<std::string, std::string> paths_;
};

} // namespace kv::cli
