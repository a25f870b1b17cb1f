#pragma once
/// The question port on the "Save First?" dialog.

#include "common/ports/question.h"

class QWidget;

namespace kv::gui {

class QtQuestions final : public QuestionPort {
  public:
    /// `parent` may be null; it centres the prompt.
    explicit QtQuestions(QWidget* parent = nullptr) : parent_(parent) {}
    void setParent(QWidget* parent) { parent_ = parent; }
    SaveAnswer askSaveFirst(std::string_view text) override;

  private:
    QWidget* parent_;
};

} // namespace kv::gui
