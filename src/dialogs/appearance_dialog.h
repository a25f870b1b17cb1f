#pragma once
/// The "Appearance" dialog: picks one of the 20 colour codes and one of the
/// three transparency levels of a colour and transparency pair. Object >
/// Customize > Appearance runs it on the simulated object's pair, the DXF
/// open dialog's "Color..." on the pair of the geometry being imported.

#include "app/customize/appearance_form.h"

#include <QDialog>

class QButtonGroup;

namespace kv::dialogs {

using app::kColorNames;
using app::kTransparencyNames;

class AppearanceDialog final : public QDialog {
    Q_OBJECT
  public:
    AppearanceDialog(int color, int transparency, QWidget* parent = nullptr);

    /// The chosen pair; a code handed in that has no button is kept unless another is chosen.
    int color() const;
    int transparency() const;
    app::Appearance appearance() const { return {color(), transparency()}; }

    QButtonGroup* colorButtons() const { return colors_; }
    QButtonGroup* transparencyButtons() const { return transparencies_; }

  private:
    int initialColor_;
    int initialTransparency_;
    QButtonGroup* colors_ = nullptr;
    QButtonGroup* transparencies_ = nullptr;
};

} // namespace kv::dialogs
