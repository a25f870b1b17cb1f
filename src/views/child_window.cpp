#include "views/child_window.h"

#include <QCloseEvent>

namespace kv::views {

KvChildWindow::KvChildWindow(const QString& title, QWidget* content, Style style, bool closable,
                             QWidget* parent)
    : QMdiSubWindow(parent), style_(style), closable_(closable) {
    setWidget(content);
    setWindowTitle(title);
    setAttribute(Qt::WA_DeleteOnClose, false);
    // Caption and frame only; the close button (of the two side windows) hides the window.
    Qt::WindowFlags flags = Qt::SubWindow | Qt::CustomizeWindowHint | Qt::WindowTitleHint;
    if (closable)
        flags |= Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
    setWindowFlags(flags);
    if (style == Style::Fixed)
        setOption(QMdiSubWindow::RubberBandResize, false);
}

QSize KvChildWindow::frameAllowance() const {
    const QMargins m = contentsMargins();
    return {m.left() + m.right(), m.top() + m.bottom()};
}

void KvChildWindow::placeAt(const QRect& outer) {
    if (style_ == Style::Fixed) {
        setFixedSize(outer.size());
    } else {
        resize(outer.size());
    }
    move(outer.topLeft());
}

void KvChildWindow::closeEvent(QCloseEvent* event) {
    event->ignore();
    if (closable_)
        hide();
}

void KvChildWindow::showEvent(QShowEvent* event) {
    QMdiSubWindow::showEvent(event);
    if (!event->spontaneous())
        emit visibilityChanged(true);
}

void KvChildWindow::hideEvent(QHideEvent* event) {
    QMdiSubWindow::hideEvent(event);
    if (!event->spontaneous())
        emit visibilityChanged(false);
}

} // namespace kv::views
