#pragma once
/// Sets up Qt's file dialog from a file request. The request's filter holds one
/// or more filters separated by ";;", each "Name (patterns)" with patterns
/// separated by ';' or spaces ("Kestrovane Motion Files (*.kvm;*.KVM);;All
/// Files (*.*)"). Save dialogs ask before overwriting and append the extension
/// to a name that has none.

#include "common/ports/files.h"

#include <QStringList>

class QFileDialog;

namespace kv::dialogs {

/// The request's filter text as Qt name filters ("*.*" becomes "*").
QStringList qtNameFilters(const std::string& filter);

/// Sets up `dialog` (non-native, so it looks and behaves the same everywhere)
/// for the request.
void configureFileDialog(QFileDialog& dialog, const FileRequest& request);

} // namespace kv::dialogs
