#pragma once
/// The "Appearance" dialog: picks one of the 20 colour codes and one of the
/// three transparency levels of a colour and transparency pair.

#include <QDialog>
#include <array>

class QButtonGroup;

namespace kv::dialogs {

/// Button texts by colour code 0..19.
inline constexpr std::array<const char*, 20> kColorNames{
    "Red",    "Pink",    "Brown", "Clay",      "Yellow", "Orange", "Tan",
    "Gold",   "Green",   "Lime",  "Olive",     "Teal",   "Blue",   "Sky Blue",
    "Purple", "Magenta", "Black", "Dark Gray", "Gray",   "White"};
/// Button texts by transparency code 0..2.
inline constexpr std::array<const char*, 3> kTransparencyNames{"Solid", "Smoky", "Clear"};

class AppearanceDialog final : public QDialog {
    Q_OBJECT
  public:
    AppearanceDialog(int color, int transparency, QWidget* parent = nullptr);

    /// The chosen pair; a code handed in that has no button is kept unless another is chosen.
    int color() const;
    int transparency() const;

    QButtonGroup* colorButtons() const { return colors_; }
    QButtonGroup* transparencyButtons() const { return transparencies_; }

  private:
    int initialColor_;
    int initialTransparency_;
    QButtonGroup* colors_ = nullptr;
    QButtonGroup* transparencies_ = nullptr;
};

} // namespace kv::dialogs
