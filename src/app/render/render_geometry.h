#pragma once
/// Line geometry of the grid, the terrain wire mesh and the view guides, as
/// plain coordinates the view compiles into lists.

#include "common/vecmath.h"

#include <vector>

namespace kv::app {

/// Most lines one grid direction may have; finer spacings are refused rather
/// than compiled into an endless list.
inline constexpr int kMaxGridLines = 20001;

/// Grid line positions a = -S, -S + d, ... while a <= S (scene units). Empty for
/// a spacing that is not positive or a grid finer than kMaxGridLines.
std::vector<float> gridLinePositions(float spacing, float size);

/// The grid's translation when it follows the object: whole spacings of the
/// followed object's x and y, z 0.
Vec3 gridCentre(const Vec3& objectPosition, float spacing);

/// Sample indices 0, s, 2s, ... below n of the terrain wire mesh; a stride
/// below 1 counts as 1.
std::vector<int> terrainStrideIndices(int n, int stride);
/// Progress fraction after vertex (i, j) in the first pass (strips along j).
double terrainProgressFirstPass(int i, int j, int nx, int ny);
/// Progress fraction after vertex (i, j) in the second pass (strips along i).
double terrainProgressSecondPass(int i, int j, int nx, int ny);

struct Segment {
    Vec3 a{};
    Vec3 b{};
};

/// The four view guides in eye coordinates, on the plane 0.505 in front of
/// the eye: action safe, title safe, cross line and hatch line.
struct ViewGuides {
    std::vector<Segment> actionSafe;
    std::vector<Segment> titleSafe;
    std::vector<Segment> crossLine;
    std::vector<Segment> hatchLine;
};

ViewGuides viewGuides(float fieldOfViewDeg, float viewAspect);

} // namespace kv::app
