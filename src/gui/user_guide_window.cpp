#include "gui/user_guide_window.h"

#include <QKeySequence>
#include <QShortcut>
#include <QTextBrowser>
#include <QVBoxLayout>

/// The guide's resources are compiled into the static kv_gui library, whose
/// unreferenced initialisers a linker may drop: register them by name.
static void initUserGuideResources() {
    Q_INIT_RESOURCE(user_guide);
}

namespace kv::gui {

UserGuideWindow::UserGuideWindow(QWidget* parent) : QWidget(parent, Qt::Window) {
    initUserGuideResources();
    setObjectName(QStringLiteral("userGuideWindow"));
    setWindowTitle(QStringLiteral("Kestrovane User Guide"));
    setAccessibleName(windowTitle());
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    browser_ = new QTextBrowser(this);
    browser_->setObjectName(QStringLiteral("userGuideText"));
    browser_->setAccessibleName(QStringLiteral("User Guide"));
    // Links to web pages open in the browser; links within the guide scroll to their heading.
    browser_->setOpenExternalLinks(true);
    browser_->setSource(kUserGuideUrl, QTextDocument::MarkdownResource);
    layout->addWidget(browser_);
    // The widest pictures are 800 pixels: room for them, the margins and the scroll bar.
    resize(860, 760);
    auto* close = new QShortcut(QKeySequence::Close, this);
    connect(close, &QShortcut::activated, this, &QWidget::close);
    auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(escape, &QShortcut::activated, this, &QWidget::close);
}

UserGuideWindow* showUserGuide(QWidget* owner) {
    auto* window = owner->findChild<UserGuideWindow*>(QString(), Qt::FindDirectChildrenOnly);
    if (window == nullptr)
        window = new UserGuideWindow(owner);
    window->show();
    window->raise();
    window->activateWindow();
    return window;
}

} // namespace kv::gui
