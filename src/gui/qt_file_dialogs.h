#pragma once
/// The file port on Qt's file dialogs. The request's filter holds one or more
/// filters separated by ";;", each "Name (patterns)" with patterns separated by
/// ';' or spaces ("Kestrovane Motion Files (*.kvm;*.KVM);;All Files (*.*)").
/// Save dialogs ask before overwriting and append the extension to a name
/// that has none.

#include "common/ports/files.h"

#include <QStringList>

class QFileDialog;
class QWidget;

namespace kv::gui {

/// The request's filter text as Qt name filters ("*.*" becomes "*").
QStringList qtNameFilters(const std::string& filter);

/// Sets up `dialog` (non-native, so it looks and behaves the same everywhere)
/// for the request.
void configureFileDialog(QFileDialog& dialog, const FileRequest& request);

class QtFileDialogs final : public FilePort {
  public:
    explicit QtFileDialogs(QWidget* parent = nullptr) : parent_(parent) {}
    void setParent(QWidget* parent) { parent_ = parent; }
    std::optional<std::string> choose(const FileRequest& request) override;

  private:
    QWidget* parent_;
};

} // namespace kv::gui
