#pragma once
/// Help > User Guide: the guide for animators, written in Markdown with its
/// screenshots, built into the program and rendered by Qt in a window of its
/// own beside the main frame. One window at a time; asking again raises it.

#include <QUrl>
#include <QWidget>

class QTextBrowser;

namespace kv::gui {

/// Where the built-in guide lives; its pictures are found relative to it.
inline const QUrl kUserGuideUrl{QStringLiteral("qrc:/guide.md")};

class UserGuideWindow final : public QWidget {
    Q_OBJECT
  public:
    explicit UserGuideWindow(QWidget* parent = nullptr);

    /// The browser showing the rendered guide.
    QTextBrowser* browser() const { return browser_; }

  private:
    QTextBrowser* browser_ = nullptr;
};

/// Shows the guide window of `owner`, making it on first use, and raises it.
UserGuideWindow* showUserGuide(QWidget* owner);

} // namespace kv::gui
