#pragma once
/// A path for the vehicle to follow: an ordered list of points on the ground
/// plan, with an optional height and an optional speed or arrival time at each.

#include <cstddef>
#include <vector>

namespace kv::app {

/// What, besides the route, the points of a path prescribe.
enum class PathTiming {
    None,   ///< only the route: the follower's cruise speed applies
    Speeds, ///< a speed at each point, varying linearly between points
    Times,  ///< an arrival time at some points (marks to hit)
};

struct PathPoint {
    double north = 0.0; ///< ft from the local origin
    double east = 0.0;  ///< ft from the local origin
    double up = 0.0;    ///< height above the local origin (ft); meaningful with `hasHeights`
    double speed = 0.0; ///< ft/s; meaningful with PathTiming::Speeds
    double time = 0.0;  ///< s since the start of the run; meaningful with PathTiming::Times
    /// The point carries its own speed or time; with PathTiming::Times only
    /// such points are marks, with PathTiming::Speeds the others take their
    /// speed from their neighbours along the path.
    bool timed = false;
};

struct FollowPath {
    std::vector<PathPoint> points;
    bool hasHeights = false; ///< the points carry heights to fly at
    PathTiming timing = PathTiming::None;
};

/// Fewest points a followable path has.
inline constexpr std::size_t kMinPathPoints = 2;
/// Most points read from a file: a dense path every foot for 200 miles.
inline constexpr std::size_t kMaxPathPoints = 1'000'000;

} // namespace kv::app
