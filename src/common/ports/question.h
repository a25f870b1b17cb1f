#pragma once
/// Port: the "Save First?" question before an operation that discards the
/// project. The desktop shows buttons "Save", "Don't Save" and "Cancel"; the
/// command-line tool and tests answer from a script.
#include <string_view>

namespace kv {

enum class SaveAnswer {
    kSave,     ///< save first, then go on
    kDontSave, ///< go on without saving
    kCancel,   ///< stop (also when the question was closed)
};

class QuestionPort {
  public:
    virtual ~QuestionPort() = default;
    virtual SaveAnswer askSaveFirst(std::string_view text) = 0;
};

} // namespace kv
