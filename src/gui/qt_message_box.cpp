#include "gui/qt_message_box.h"

#include "common/message_wrap.h"

#include <QMessageBox>

namespace kv::gui {

void QtMessageBox::showMessage(std::string_view text) {
    const std::string wrapped = wrapMessageText(text);
    QMessageBox box(QMessageBox::Information, kProgramName,
                    QString::fromUtf8(wrapped.data(), static_cast<qsizetype>(wrapped.size())),
                    QMessageBox::Ok, parent_);
    box.setObjectName(QStringLiteral("kvMessageBox"));
    box.setTextFormat(Qt::PlainText);
    box.exec();
}

} // namespace kv::gui
