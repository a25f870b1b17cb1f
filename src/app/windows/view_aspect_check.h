#pragma once
/// The view aspect check the camera view runs before it draws after a resize:
/// the camera window keeps the view aspect of the camera preferences, unless
/// the window's own aspect is to be used.

#include <optional>

namespace kv::app {

/// Largest relative difference between the window's aspect and the view
/// aspect that is left alone (0.1 %).
inline constexpr float kAspectTolerance = 0.001f;

/// The client height (px) that restores `viewAspect` (width / height) for a
/// client of `clientWidth` × `clientHeight`, when the two aspects differ by
/// more than kAspectTolerance; nothing when they agree, or when the client
/// has no area or the aspect is not positive.
std::optional<int> aspectSnapHeight(int clientWidth, int clientHeight, float viewAspect);

} // namespace kv::app
