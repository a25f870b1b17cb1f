#pragma once
/// Keeps a slider and an edit field showing the same number, the way every
/// customization, condition and preference dialog pairs them.
///
/// The field is the value; the slider follows it. Typing in the field (or
/// setting its text) moves the slider to the number times `scale`, truncated
/// toward zero and held inside the slider's range; text that is not a number
/// leaves the slider where it is. Moving the slider writes position ÷ `scale`
/// into the field with `decimals` places ("%0.0f" when 0). A dialog calls
/// `syncSlider()` after filling its fields so every slider opens at the number
/// its field shows.

#include <QObject>

class QLineEdit;
class QSlider;

namespace kv::dialogs {

class SliderLink final : public QObject {
    Q_OBJECT
  public:
    /// Both widgets must outlive the link (parent it to the dialog).
    SliderLink(QSlider* slider, QLineEdit* field, double scale = 1.0, int decimals = 0,
               QObject* parent = nullptr);

    /// Moves the slider to the number in the field without touching the field.
    void syncSlider();

    /// Slider position for a field number: trunc(value × scale), clamped to
    /// [minimum, maximum].
    static int positionFor(double value, double scale, int minimum, int maximum);

    QSlider* slider() const { return slider_; }
    QLineEdit* field() const { return field_; }

  private:
    void onSliderMoved(int position);
    void onFieldChanged();

    QSlider* slider_;
    QLineEdit* field_;
    double scale_;
    int decimals_;
    /// Set while one side writes the other, so neither echoes back.
    bool updating_ = false;
};

} // namespace kv::dialogs
