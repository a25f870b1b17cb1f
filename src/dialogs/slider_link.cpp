#include "dialogs/slider_link.h"

#include <QLineEdit>
#include <QSlider>
#include <algorithm>
#include <cmath>

namespace kv::dialogs {

SliderLink::SliderLink(QSlider* slider, QLineEdit* field, double scale, int decimals,
                       QObject* parent)
    : QObject(parent), slider_(slider), field_(field), scale_(scale), decimals_(decimals) {
    // valueChanged covers dragging, paging and keyboard steps alike.
    connect(slider_, &QSlider::valueChanged, this, &SliderLink::onSliderMoved);
    connect(field_, &QLineEdit::textChanged, this, &SliderLink::onFieldChanged);
}

int SliderLink::positionFor(double value, double scale, int minimum, int maximum) {
    const double scaled = std::trunc(value * scale);
    if (!std::isfinite(scaled))
        return scaled > 0 ? maximum : minimum;
    return static_cast<int>(
        std::clamp(scaled, static_cast<double>(minimum), static_cast<double>(maximum)));
}

void SliderLink::syncSlider() {
    onFieldChanged();
}

void SliderLink::onSliderMoved(int position) {
    if (updating_)
        return;
    updating_ = true;
    field_->setText(QString::number(position / scale_, 'f', decimals_));
    updating_ = false;
}

void SliderLink::onFieldChanged() {
    if (updating_)
        return;
    bool ok = false;
    const double value = field_->text().trimmed().toDouble(&ok);
    if (!ok)
        return;
    updating_ = true;
    slider_->setValue(positionFor(value, scale_, slider_->minimum(), slider_->maximum()));
    updating_ = false;
}

} // namespace kv::dialogs
