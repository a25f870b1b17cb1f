#include "gui/qt_file_dialogs.h"

#include "dialogs/file_dialog_setup.h"

#include <QFile>
#include <QFileDialog>

namespace kv::gui {

std::optional<std::string> QtFileDialogs::choose(const FileRequest& request) {
    QFileDialog dialog(parent_);
    dialogs::configureFileDialog(dialog, request);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    const QStringList files = dialog.selectedFiles();
    if (files.isEmpty())
        return std::nullopt;
    return QFile::encodeName(files.front()).toStdString();
}

} // namespace kv::gui
