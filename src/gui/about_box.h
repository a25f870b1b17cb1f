#pragma once
/// The About box: a 504 × 319 picture with the program's name, version and
/// copyright. It closes on a left click.

#include <QDialog>
#include <QPixmap>

namespace kv::gui {

inline constexpr int kAboutWidth = 504;
inline constexpr int kAboutHeight = 319;

/// The About picture, drawn by the program itself.
QPixmap aboutPicture();

class AboutBox final : public QDialog {
    Q_OBJECT
  public:
    explicit AboutBox(QWidget* parent = nullptr);

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

  private:
    QPixmap picture_;
};

} // namespace kv::gui
