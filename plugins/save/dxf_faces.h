#pragma once
/// The DXF dialect the simulator imports, as the modeler saver writes it:
/// 3DFACE entities on layer "Kestrovane", right-handed, x forward, y right,
/// z down, in metres. Polygons become a fan of quadrilaterals from their
/// first corner.

#include <array>
#include <functional>
#include <string>

namespace kv::lwsave {

/// A LightWave point position: x right, y up, z forward (m).
using Point = std::array<double, 3>;

/// Four corners of one face, LightWave positions.
using Face = std::array<Point, 4>;

/// Opening lines of the file, before any face.
std::string dxfHeader();

/// Closing lines of the file.
std::string dxfTrailer();

/// One 3DFACE entity: each corner written as (z, x, -y) with "%g".
std::string dxfFace(const Face& face);

/// Turns the corners of one polygon, given in order, into faces: a
/// triangle is one face whose fourth corner repeats the third, a
/// quadrilateral one face, and every further two corners one more face
/// sharing the first corner and the previous face's last corner.
class PolygonFan {
  public:
    using FaceSink = std::function<void(const Face&)>;

    explicit PolygonFan(FaceSink sink) : sink_(std::move(sink)) {}

    void addPoint(const Point& p);

    /// Emits the last face; call once after the polygon's last point.
    void finish();

  private:
    FaceSink sink_;
    Face slots_{};
    int next_ = 0;   ///< slot the next point fills
    int points_ = 0; ///< points added so far
};

} // namespace kv::lwsave
