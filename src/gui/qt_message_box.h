#pragma once
/// The program's single message box: modal, titled with the program's name,
/// an information icon, the text wrapped by the message rule and an OK button.

#include "common/ports/messages.h"

#include <QString>

class QWidget;

namespace kv::gui {

/// Title of every message box.
inline const QString kProgramName = QStringLiteral("Kestrovane");

class QtMessageBox final : public MessagePort {
  public:
    /// `parent` may be null; it centres the box.
    explicit QtMessageBox(QWidget* parent = nullptr) : parent_(parent) {}
    void setParent(QWidget* parent) { parent_ = parent; }
    void showMessage(std::string_view text) override;

  private:
    QWidget* parent_;
};

} // namespace kv::gui
