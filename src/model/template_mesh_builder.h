#pragma once
/// Small modelling kit for the built-in vehicle meshes: lofts of cross-section
/// rings, solids of revolution and boxes, all closed and wound outwards, and a
/// refinement step that brings a mesh to an exact face count without changing
/// its shape.

#include <array>
#include <cstddef>
#include <vector>

namespace kv::model {

/// A point in body axes: forward, right, down (m).
using MeshPoint = std::array<double, 3>;
/// Four corners of a face, three coordinates each (m); a triangle repeats its
/// third corner.
using MeshFace = std::array<double, 12>;
/// A closed cross-section polygon.
using MeshRing = std::vector<MeshPoint>;

class MeshBuilder {
  public:
    /// Adds the quad a-b-c-d as given. Corners that coincide with their
    /// successor are dropped, so a quad with one repeated corner becomes a
    /// triangle and one with fewer than three distinct corners adds nothing.
    void quad(const MeshPoint& a, const MeshPoint& b, const MeshPoint& c, const MeshPoint& d);
    void triangle(const MeshPoint& a, const MeshPoint& b, const MeshPoint& c);

    /// Joins consecutive rings (all of one size, at least 3 points) by quads
    /// and closes both ends with strips across the end rings, pairing point k
    /// with point n-1-k. The faces added are turned so that the solid encloses
    /// positive volume, that is every normal points outwards.
    void loft(const std::vector<MeshRing>& rings);

    /// Loft whose end rings are closed by a fan to a single point each (the tip
    /// of a nose cone, the centre of a wheel hub) instead of a strip.
    void loftToPoints(const MeshPoint& first, const std::vector<MeshRing>& rings,
                      const MeshPoint& last);

    /// Round tube of `sides` sides along `path` (at least two points), with a
    /// radius per point, closed at both ends. The cross-sections stay square
    /// to the path and do not twist round it.
    void tube(const std::vector<MeshPoint>& path, const std::vector<double>& radius, int sides);
    void tube(const std::vector<MeshPoint>& path, double radius, int sides);

    /// Block centred at `centre` with half-edge vectors `u`, `v` and `w`.
    void block(const MeshPoint& centre, const MeshPoint& u, const MeshPoint& v, const MeshPoint& w);

    /// Box between the corners `lo` and `hi` (six quads).
    void box(const MeshPoint& lo, const MeshPoint& hi);

    /// Copies the faces added since `mark` (a value of faceCount()) mirrored
    /// in the centre plane (right negated), keeping them wound outwards.
    void mirrorSince(std::size_t mark);

    /// Splits the largest faces, one at a time, until the mesh holds `count`
    /// faces: a quad in two across its longer pair of sides, a triangle in two
    /// at the middle of its longest side. The surface stays where it was.
    void refineTo(std::size_t count);

    std::size_t faceCount() const { return faces_.size(); }
    const std::vector<MeshFace>& faces() const { return faces_; }

  private:
    void orientSince(std::size_t mark);
    std::vector<MeshFace> faces_;
};

/// Ring of `n` points on an ellipse in the plane across the forward axis at
/// `centre`, with half-width `ry` (right) and half-height `rz` (down). Point 0
/// is at the bottom and the points run round through the right side, so that
/// point k and point n-1-k mirror each other when `n` is even and the ring is
/// offset by half a step.
MeshRing ellipseRing(const MeshPoint& centre, double ry, double rz, int n);

/// Ring of `n` points on a circle of radius `r` round `centre` in the plane
/// spanned by the unit vectors `u` and `v`, starting half a step past `u`.
MeshRing circleRing(const MeshPoint& centre, const MeshPoint& u, const MeshPoint& v, double r,
                    int n);

/// Ring of `n` points on the rounded rectangle |y/ry|^p + |z/rz|^p = 1 across
/// the forward axis, numbered as ellipseRing does; a larger `power` gives
/// squarer corners (2 is an ellipse).
MeshRing roundedRing(const MeshPoint& centre, double ry, double rz, int n, double power);

/// Straight interpolation between two points.
MeshPoint lerp(const MeshPoint& a, const MeshPoint& b, double t);

} // namespace kv::model
