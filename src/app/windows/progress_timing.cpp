#include "app/windows/progress_timing.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace kv::app {

bool progressWindowDue(double elapsedSeconds, double fraction) {
    if (!(elapsedSeconds > kProgressQuietSeconds))
        return false;
    return fraction / elapsedSeconds < kProgressFastRate;
}

bool progressLabelAllowsEscape(std::string_view label) {
    static constexpr std::array<std::string_view, 3> kNoEscape{
        "Building Terrain:", "Building Scenery:", "Smoothing Normals:"};
    return std::find(kNoEscape.begin(), kNoEscape.end(), label) == kNoEscape.end();
}

ProgressDisplay::~ProgressDisplay() {
    if (shown_)
        window_.close();
}

bool ProgressDisplay::show(ProgressMode mode, bool escAborts, std::string_view label,
                           double fraction) {
    if (!std::isfinite(fraction))
        fraction = 0.0;
    fraction = std::clamp(fraction, 0.0, 1.0);
    if (mode == ProgressMode::Start) {
        // A job that was never finished must not leave its window behind.
        if (shown_)
            window_.close();
        shown_ = false;
        clock_.restart();
    }
    if (!shown_) {
        if (mode == ProgressMode::Finish)
            return true;
        if (!progressWindowDue(clock_.elapsed(), fraction))
            return true;
        window_.open(label, escAborts ? kProgressEscapeLine : std::string_view{});
        shown_ = true;
    }
    window_.setPercent(static_cast<int>(fraction * 100.0));
    lastFraction_ = fraction;
    const bool escape = window_.takeEscapePress();
    const bool goOn = !(escape && escAborts);
    // An aborted job may stop without its finish call: close the window now.
    if (mode == ProgressMode::Finish || !goOn) {
        window_.close();
        shown_ = false;
    }
    return goOn;
}

void ProgressPortDisplay::start(std::string_view title) {
    label_ = std::string(title);
    escAllowed_ = progressLabelAllowsEscape(label_);
    display_.show(ProgressMode::Start, escAllowed_, label_, 0.0);
}

bool ProgressPortDisplay::update(double fraction) {
    return display_.show(ProgressMode::Update, escAllowed_, label_, fraction);
}

void ProgressPortDisplay::finish() {
    display_.show(ProgressMode::Finish, escAllowed_, label_, display_.lastFraction());
}

} // namespace kv::app
