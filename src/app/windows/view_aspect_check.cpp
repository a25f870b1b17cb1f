#include "app/windows/view_aspect_check.h"

#include <cmath>

namespace kv::app {

std::optional<int> aspectSnapHeight(int clientWidth, int clientHeight, float viewAspect) {
    if (clientWidth <= 0 || clientHeight <= 0 || !(viewAspect > 0.0f) || !std::isfinite(viewAspect))
        return std::nullopt;
    const float windowAspect = static_cast<float>(clientWidth) / static_cast<float>(clientHeight);
    if (std::fabs(windowAspect - viewAspect) <= kAspectTolerance * viewAspect)
        return std::nullopt;
    const int height = static_cast<int>(std::lround(static_cast<float>(clientWidth) / viewAspect));
    if (height < 1 || height == clientHeight)
        return std::nullopt;
    return height;
}

} // namespace kv::app
