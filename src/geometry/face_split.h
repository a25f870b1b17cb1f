#pragma once
/// Splitting a four-corner DXF face into 0, 1 or 2 triangles. A triangle in a
/// DXF file repeats one of its corners; a degenerate face gives none.

#include <array>

namespace kv::geom {

template <typename T> using Corner = std::array<T, 3>;
template <typename T> using Triangle = std::array<Corner<T>, 3>;

/// Splits the face `c` (four corners) into triangles written to `out`; returns
/// how many (0..2). Corners are equal when all three coordinates are equal
/// within the relative tolerance of their precision (0.001 single, 1e-8 double).
/// With c the number of unequal corner pairs among the six, 6 gives two
/// triangles, 5 gives one, fewer gives none; the triangles are the first of
/// the candidates (0,1,2), (0,2,3), (0,1,3), (1,2,3) whose corners are pairwise
/// distinct, corners kept in that order.
int splitFace(const std::array<Corner<float>, 4>& c, std::array<Triangle<float>, 2>& out);
int splitFace(const std::array<Corner<double>, 4>& c, std::array<Triangle<double>, 2>& out);

} // namespace kv::geom
