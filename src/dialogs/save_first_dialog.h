#pragma once
/// The "Save First?" prompt before an operation that would drop unsaved
/// changes: "Save" (default), "Don't Save" and "Cancel".

#include "common/ports/question.h"

#include <QDialog>
#include <string_view>

namespace kv::dialogs {

/// What the user chose.
struct SaveFirstAnswer {
    bool proceed = false; ///< the operation may go on
    bool save = false;    ///< save the project first
};

class SaveFirstDialog final : public QDialog {
    Q_OBJECT
  public:
    explicit SaveFirstDialog(const QString& message, QWidget* parent = nullptr);
    /// Valid after exec(); closing the window counts as Cancel.
    SaveFirstAnswer answer() const { return answer_; }

  private:
    SaveFirstAnswer answer_;
};

/// Runs the prompt modally over `parent` with the message.
SaveAnswer askSaveFirst(QWidget* parent, std::string_view message);

} // namespace kv::dialogs
