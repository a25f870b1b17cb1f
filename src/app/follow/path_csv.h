#pragma once
/// Path files in CSV: a header `north,east[,up][,speed|,time]` and one point a
/// line, lengths in the working length unit and speeds in the working speed
/// unit (km/h with a metric length unit, mph otherwise).

#include "app/follow/follow_path.h"

#include <string>
#include <string_view>

namespace kv::app {

/// Longest path CSV read (bytes).
inline constexpr std::size_t kMaxPathCsvBytes = 64u * 1024u * 1024u;

/// Parses `text` with `lengthUnitFactor` feet per working length unit. On
/// failure returns false and sets `error` to "line N: what is wrong"; a path of
/// fewer than two points is refused.
bool parsePathCsv(std::string_view text, float lengthUnitFactor, FollowPath& path,
                  std::string& error);

} // namespace kv::app
