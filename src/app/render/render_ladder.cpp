#include "app/render/render_ladder.h"

#include "common/vecmath.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace kv::app {

int ladderStep(float pitchDeg) {
    if (!std::isfinite(pitchDeg))
        return 0;
    return static_cast<int>(std::floor(Wrap180(pitchDeg) * 0.2f + 0.5f));
}

std::array<LadderRung, 3> ladderRungs(float pitchDeg) {
    const int k = ladderStep(pitchDeg);
    std::array<LadderRung, 3> rungs;
    for (int i = 0; i < 3; ++i) {
        LadderRung& r = rungs[static_cast<std::size_t>(i)];
        r.angle = 5 * k + 5 * (i - 1);
        int shown = r.angle;
        if (shown > 90 || shown < -90) {
            shown = (shown > 0 ? 180 : -180) - shown;
            r.turned = true;
        }
        shown = std::clamp(shown, -90, 90);
        r.rungList = std::clamp(kRungListBase + (shown + 90) / 5, kRungListBase, kRungListLast);
        const int value = std::abs(shown);
        if (value >= 10) {
            r.digitLists = {kDigitListBase + value / 10, kDigitListBase + value % 10};
            r.digitY = kTwoDigitY;
        } else {
            r.digitLists = {kDigitListBase + value};
            r.digitY = kOneDigitY;
        }
    }
    return rungs;
}

bool FlightPathMarker::update(float alphaDeg, float betaDeg) {
    alpha = 0.1f * alphaDeg + 0.9f * alpha;
    beta = 0.1f * betaDeg + 0.9f * beta;
    return alpha > -10.0f && alpha < 10.0f && beta > -7.5f && beta < 7.5f;
}

} // namespace kv::app
