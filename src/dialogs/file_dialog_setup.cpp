#include "dialogs/file_dialog_setup.h"

#include <QFileDialog>
#include <QRegularExpression>

namespace kv::dialogs {

QStringList qtNameFilters(const std::string& filter) {
    QStringList out;
    const QString text = QString::fromStdString(filter);
    for (QString part : text.split(QStringLiteral(";;"), Qt::SkipEmptyParts)) {
        part = part.trimmed();
        const qsizetype open = part.lastIndexOf(u'(');
        const qsizetype close = part.lastIndexOf(u')');
        if (open < 0 || close < open) {
            out << part;
            continue;
        }
        QStringList patterns =
            part.mid(open + 1, close - open - 1)
                .split(QRegularExpression(QStringLiteral("[;\\s]+")), Qt::SkipEmptyParts);
        for (QString& p : patterns) {
            if (p == QStringLiteral("*.*"))
                p = QStringLiteral("*");
        }
        out << part.left(open).trimmed() + QStringLiteral(" (") + patterns.join(u' ') +
                   QStringLiteral(")");
    }
    return out;
}

void configureFileDialog(QFileDialog& dialog, const FileRequest& request) {
    dialog.setOption(QFileDialog::DontUseNativeDialog, true);
    dialog.setWindowTitle(QString::fromStdString(request.title));
    const QStringList filters = qtNameFilters(request.filter);
    if (!filters.isEmpty())
        dialog.setNameFilters(filters);
    if (request.save) {
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setFileMode(QFileDialog::AnyFile);
        dialog.setOption(QFileDialog::DontConfirmOverwrite, false);
        if (!request.extension.empty()) {
            dialog.setDefaultSuffix(QString::fromStdString(request.extension));
        }
        if (!request.defaultName.empty()) {
            dialog.selectFile(QString::fromStdString(request.defaultName));
        }
    } else {
        dialog.setAcceptMode(QFileDialog::AcceptOpen);
        dialog.setFileMode(QFileDialog::ExistingFile);
    }
}

} // namespace kv::dialogs
