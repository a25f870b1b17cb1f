#pragma once
/// The child window frame shared by the three windows of the main frame. The
/// windows live from start to exit: closing one only hides it (the camera view
/// cannot be closed at all).

#include <QMdiSubWindow>

namespace kv::views {

class KvChildWindow final : public QMdiSubWindow {
    Q_OBJECT
  public:
    enum class Style {
        Resizable, ///< caption and sizing frame
        Fixed,     ///< caption and a frame of fixed size
    };
    /// `closable`: the close button hides the window.
    KvChildWindow(const QString& title, QWidget* content, Style style, bool closable,
                  QWidget* parent = nullptr);

    Style style() const { return style_; }
    /// What the frame adds to the content: horizontal and vertical (px).
    QSize frameAllowance() const;
    /// Sets the outer geometry; a fixed window keeps it as its fixed size.
    void placeAt(const QRect& outer);

  signals:
    /// The window was shown or hidden by the user or the program.
    void visibilityChanged(bool visible);

  protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

  private:
    Style style_;
    bool closable_;
};

} // namespace kv::views
