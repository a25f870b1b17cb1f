#include "model/template_mesh.h"

#include <cmath>
#include <numbers>

namespace kv::model {

namespace {

/// Thin aerofoil section in the plane spanned by the chord direction (forward)
/// and `thick` (the unit vector across the surface), from the leading edge at
/// `le` back to the trailing edge at `te` (forward coordinates, m).
MeshRing aerofoil(const MeshPoint& at, const MeshPoint& thick, double le, double te,
                  double thickness) {
    const double c = le - te;
    // (chord fraction from the leading edge, half-thickness as a fraction of
    // the maximum) round the section: upper surface back, lower surface forward.
    const std::array<double, 2> shape[] = {{0.0, 0.0}, {0.25, -1.0}, {0.65, -0.7},
                                           {1.0, 0.0}, {0.65, 0.55}, {0.25, 0.8}};
    MeshRing r;
    for (const auto& s : shape) {
        const double h = s[1] * 0.5 * thickness * c;
        r.push_back({le - s[0] * c + h * thick[0], at[1] + h * thick[1], at[2] + h * thick[2]});
    }
    return r;
}

/// Lifting surface lofted between a root and a tip section; `at` gives each
/// section's spanwise position and height, `le`/`te` its edges.
void surface(MeshBuilder& b, const MeshPoint& thick, const MeshPoint& rootAt, double rootLe,
             double rootTe, const MeshPoint& tipAt, double tipLe, double tipTe, double thickness) {
    b.loft({aerofoil(rootAt, thick, rootLe, rootTe, thickness),
            aerofoil(tipAt, thick, tipLe, tipTe, thickness)});
}

void fuselage(MeshBuilder& b) {
    // (station, half-width, top, bottom, squareness)
    const std::array<double, 5> sections[] = {
        {12.0, 0.14, -0.14, 0.12, 2.0}, {10.6, 0.34, -0.36, 0.30, 2.0},
        {8.8, 0.54, -0.58, 0.46, 2.2},  {6.8, 0.68, -0.76, 0.60, 2.4},
        {4.5, 0.80, -0.80, 0.70, 2.6},  {2.2, 1.08, -0.78, 0.77, 3.0},
        {0.0, 1.22, -0.75, 0.79, 3.2},  {-2.6, 1.25, -0.70, 0.76, 3.2},
        {-5.4, 1.18, -0.62, 0.64, 3.0}, {-7.0, 1.06, -0.52, 0.52, 3.0}};
    std::vector<MeshRing> rings;
    for (const auto& s : sections) {
        rings.push_back(
            roundedRing({s[0], 0.0, 0.5 * (s[2] + s[3])}, s[1], 0.5 * (s[3] - s[2]), 12, s[4]));
    }
    // Nose cone to a point; the tail end closes between the nozzles.
    b.loftToPoints({12.81, 0.0, -0.01}, rings, {-7.05, 0.0, 0.0});

    // Bubble canopy on the spine behind the radome.
    std::vector<MeshRing> canopy;
    for (const auto& s :
         {std::array<double, 3>{7.3, 0.34, -1.12}, {5.9, 0.46, -1.46}, {4.3, 0.42, -1.30}}) {
        canopy.push_back(ellipseRing({s[0], 0.0, -0.62}, s[1], s[2] + 0.62, 8));
    }
    b.loftToPoints({8.3, 0.0, -0.70}, canopy, {2.4, 0.0, -0.70});
}

void intakesWingsAndTail(MeshBuilder& b) {
    const std::size_t mark = b.faceCount();
    // Box intake beside the cockpit, its mouth raked back at the bottom.
    b.loft({roundedRing({4.7, 1.10, 0.16}, 0.34, 0.50, 8, 4.0),
            roundedRing({2.6, 1.14, 0.18}, 0.36, 0.56, 8, 4.0),
            roundedRing({-0.6, 1.04, 0.14}, 0.30, 0.52, 8, 4.0)});
    // Shoulder wing, swept 43 degrees, with a slight droop to the tip.
    surface(b, {0, 0, 1}, {0, 0.9, -0.40}, 3.2, -4.1, {0, 6.95, -0.28}, -2.5, -4.3, 0.05);
    // All-moving tailplane on the tail boom.
    surface(b, {0, 0, 1}, {0, 0.9, 0.05}, -4.9, -7.3, {0, 4.25, 0.10}, -6.7, -7.81, 0.05);
    // Fin canted out 12 degrees.
    const double cant = 12.0 * std::numbers::pi / 180.0;
    const MeshPoint across = {0, std::cos(cant), std::sin(cant)};
    surface(b, across, {0, 1.05, -0.62}, -3.6, -7.1, {0, 1.05 + 2.97 * std::tan(cant), -3.59},
            -6.25, -7.45, 0.045);
    // Main gear fairing under the wing root, round the gear leg pivot.
    b.loftToPoints({1.5, 1.52, -0.10},
                   {roundedRing({0.7, 1.52, -0.10}, 0.22, 0.24, 6, 2.0),
                    roundedRing({-1.6, 1.52, -0.10}, 0.22, 0.24, 6, 2.0)},
                   {-2.4, 1.52, -0.14});
    // Jet nozzle.
    b.loft({roundedRing({-6.8, 0.56, 0.0}, 0.50, 0.50, 8, 2.0),
            roundedRing({-7.25, 0.56, 0.0}, 0.53, 0.53, 8, 2.0),
            roundedRing({-7.55, 0.56, 0.0}, 0.46, 0.46, 8, 2.0)});
    // Wing-tip launcher rail and its missile with tail fins.
    b.block({-1.9, 6.95, -0.22}, {1.4, 0, 0}, {0, 0.04, 0}, {0, 0, 0.06});
    b.loftToPoints({-0.55, 7.0, -0.08},
                   {ellipseRing({-1.0, 7.0, -0.08}, 0.065, 0.065, 6),
                    ellipseRing({-3.55, 7.0, -0.08}, 0.065, 0.065, 6)},
                   {-3.6, 7.0, -0.08});
    b.block({-3.3, 7.0, -0.08}, {0.15, 0, 0}, {0, 0.25, 0}, {0, 0, 0.008});
    b.block({-3.3, 7.0, -0.08}, {0.15, 0, 0}, {0, 0.008, 0}, {0, 0, 0.25});
    b.mirrorSince(mark);
}

} // namespace

std::vector<MeshFace> buildAircraftMesh() {
    MeshBuilder b;
    fuselage(b);
    intakesWingsAndTail(b);
    b.refineTo(static_cast<std::size_t>(kTemplateMeshFaceCounts[2]));
    return b.faces();
}

} // namespace kv::model
