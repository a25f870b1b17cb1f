#pragma once
/// The arrow keys as a stick, moved like a driver's hand: a held key pushes
/// its axis toward full travel over kKeyTravelSeconds, a released one lets it
/// return to the centre over kKeyReturnSeconds, and opposite keys held
/// together cancel (the axis returns to the centre). The hand moves by the
/// run's frame period at every read, never by the wall clock, so a take
/// replays the same frame by frame.

namespace kv::app {

/// Time (s) a held key takes to push its axis from the centre to full travel.
inline constexpr float kKeyTravelSeconds = 0.4f;
/// Time (s) a released axis takes to return from full travel to the centre.
inline constexpr float kKeyReturnSeconds = 0.25f;

/// Which way the keys of one axis push it: -1, 0 or +1.
int keyAxisTarget(bool negativeKey, bool positiveKey);

/// Moves `hand` (-1..1) one frame of `framePeriod` (s) toward `target`
/// (-1, 0 or +1): toward the centre at the return rate, away from it at the
/// travel rate; across the centre it returns first, then travels. Returns the
/// new position. A period that is not a positive number leaves it where it is.
float rampKeyAxis(float hand, int target, float framePeriod);

} // namespace kv::app
