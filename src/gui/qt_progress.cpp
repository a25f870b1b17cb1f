#include "gui/qt_progress.h"

#include <QApplication>
#include <QDialog>
#include <QKeyEvent>
#include <QLabel>
#include <QProgressBar>
#include <QVBoxLayout>

namespace kv::gui {

namespace {

QString fromView(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

bool isUserInput(QEvent::Type type) {
    switch (type) {
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::ShortcutOverride:
    case QEvent::Shortcut:
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove:
    case QEvent::Wheel:
    case QEvent::ContextMenu:
    case QEvent::Drop:
    case QEvent::Close:
        return true;
    default:
        return false;
    }
}

} // namespace

QtProgressWindow::~QtProgressWindow() {
    close();
}

void QtProgressWindow::open(std::string_view label, std::string_view secondLine) {
    close();
    auto* dialog = new QDialog(frame_, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    dialog->setObjectName(QStringLiteral("kvProgressDialog"));
    dialog->setWindowTitle(fromView(app::kProgressTitle));
    dialog->setAttribute(Qt::WA_DeleteOnClose, false);
    auto* layout = new QVBoxLayout(dialog);
    bar_ = new QProgressBar(dialog);
    bar_->setRange(0, 100);
    bar_->setValue(0);
    bar_->setTextVisible(false);
    auto* labelText = new QLabel(fromView(label), dialog);
    labelText->setObjectName(QStringLiteral("progressLabel"));
    auto* second = new QLabel(fromView(secondLine), dialog);
    second->setObjectName(QStringLiteral("progressEscapeLine"));
    layout->addWidget(bar_);
    layout->addWidget(labelText);
    layout->addWidget(second);
    dialog->setFixedWidth(320);
    dialog->adjustSize();
    if (frame_ != nullptr) {
        const QPoint centre = frame_->mapToGlobal(frame_->rect().center());
        dialog->move(centre - QPoint(dialog->width() / 2, dialog->height() / 2));
    }
    dialog_ = dialog;
    escapePressed_ = false;
    qApp->installEventFilter(this);
    dialog->show();
    dialog->repaint();
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void QtProgressWindow::setPercent(int percent) {
    if (bar_ != nullptr && dialog_)
        bar_->setValue(percent);
}

bool QtProgressWindow::takeEscapePress() {
    QCoreApplication::processEvents(QEventLoop::AllEvents);
    const bool pressed = escapePressed_;
    escapePressed_ = false;
    return pressed;
}

void QtProgressWindow::close() {
    if (!dialog_)
        return;
    qApp->removeEventFilter(this);
    delete dialog_.data();
    dialog_ = nullptr;
    bar_ = nullptr;
    escapePressed_ = false;
}

bool QtProgressWindow::eventFilter(QObject* watched, QEvent* event) {
    if (!isUserInput(event->type()))
        return QObject::eventFilter(watched, event);
    if (event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) {
        escapePressed_ = true;
    }
    // Held back: the job owns the program until it finishes.
    return true;
}

} // namespace kv::gui
