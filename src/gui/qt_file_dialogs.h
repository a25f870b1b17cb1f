#pragma once
/// The file port on Qt's file dialogs (set up by dialogs/file_dialog_setup.h).

#include "common/ports/files.h"

class QWidget;

namespace kv::gui {

class QtFileDialogs final : public FilePort {
  public:
    explicit QtFileDialogs(QWidget* parent = nullptr) : parent_(parent) {}
    void setParent(QWidget* parent) { parent_ = parent; }
    std::optional<std::string> choose(const FileRequest& request) override;

  private:
    QWidget* parent_;
};

} // namespace kv::gui
