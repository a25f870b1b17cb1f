#include "model/template_mesh.h"

#include <cmath>

namespace kv::model {

namespace {

// Where the Helicopter template's effectors put the rotor hubs (m).
constexpr MeshPoint kMainHub = {0.0, 0.0, -2.1336};
constexpr MeshPoint kTailHub = {-8.3821, 0.2286, -1.3716};

/// Solid lofted along the forward axis through rounded sections given as
/// (x, half-width, top, bottom), closed by points ahead and behind.
void body(MeshBuilder& b, const MeshPoint& nose, const std::vector<std::array<double, 4>>& sections,
          const MeshPoint& tail, int sides, double power) {
    std::vector<MeshRing> rings;
    for (const auto& s : sections) {
        rings.push_back(
            roundedRing({s[0], 0.0, 0.5 * (s[2] + s[3])}, s[1], 0.5 * (s[3] - s[2]), sides, power));
    }
    b.loftToPoints(nose, rings, tail);
}

/// Flat plate of aerofoil-like section: root and tip given by their chord ends.
void plate(MeshBuilder& b, const MeshPoint& rootLe, const MeshPoint& rootTe, const MeshPoint& tipLe,
           const MeshPoint& tipTe, const MeshPoint& half) {
    auto section = [&](const MeshPoint& le, const MeshPoint& te) {
        const MeshPoint mid = lerp(le, te, 0.35);
        return MeshRing{le,
                        {mid[0] + half[0], mid[1] + half[1], mid[2] + half[2]},
                        te,
                        {mid[0] - half[0], mid[1] - half[1], mid[2] - half[2]}};
    };
    b.loft({section(rootLe, rootTe), section(tipLe, tipTe)});
}

void fuselage(MeshBuilder& b) {
    // Slim gunship body: chin, tandem cockpit, engine bay and the tail boom.
    body(b, {4.24, 0.0, 0.30},
         {{3.75, 0.26, -0.08, 0.62},
          {2.9, 0.44, -0.42, 0.80},
          {1.5, 0.50, -0.66, 0.86},
          {0.0, 0.52, -0.78, 0.86},
          {-1.6, 0.50, -0.86, 0.80},
          {-3.1, 0.40, -0.80, 0.45},
          {-5.2, 0.24, -0.56, 0.08},
          {-7.7, 0.15, -0.46, -0.12}},
         {-8.05, 0.0, -0.30}, 10, 2.4);
    // Stepped tandem canopy: the gunner low in front, the pilot raised behind.
    body(b, {3.15, 0.0, -0.40},
         {{2.3, 0.36, -0.84, -0.30}, {0.9, 0.43, -1.00, -0.42}, {-0.1, 0.42, -1.16, -0.50}},
         {-1.0, 0.0, -0.78}, 8, 2.4);
    // Engine and transmission cowling under the mast.
    body(b, {0.9, 0.0, -0.80},
         {{0.2, 0.40, -1.18, -0.60}, {-1.8, 0.46, -1.30, -0.66}, {-3.2, 0.34, -1.10, -0.60}},
         {-3.9, 0.0, -0.80}, 8, 3.0);
    // Chin turret with its gun.
    body(b, {3.85, 0.0, 0.70}, {{3.55, 0.20, 0.52, 0.90}, {3.15, 0.20, 0.52, 0.90}},
         {2.95, 0.0, 0.70}, 6, 2.0);
    b.tube({{3.8, 0.0, 0.78}, {4.2, 0.0, 0.80}}, 0.035, 6);
}

void rotorsAndTail(MeshBuilder& b) {
    // Mast up to the hub, the hub itself and the pitch-link head above it.
    b.tube({{0.0, 0.0, -1.20}, kMainHub}, 0.11, 8);
    b.tube({{0.0, 0.0, kMainHub[2] + 0.08}, {0.0, 0.0, kMainHub[2] - 0.08}}, 0.34, 10);
    b.loftToPoints({0.0, 0.0, kMainHub[2] - 0.08},
                   {circleRing({0.0, 0.0, kMainHub[2] - 0.13}, {1, 0, 0}, {0, 1, 0}, 0.14, 6)},
                   {0.0, 0.0, -2.33});
    // Swept fin carrying the tail rotor gearbox on its right.
    plate(b, {-6.9, 0.0, -0.42}, {-8.1, 0.0, -0.30}, {-8.2, 0.0, -2.20}, {-8.84, 0.0, -2.25},
          {0.0, 0.07, 0.0});
    b.tube({{kTailHub[0], 0.0, kTailHub[2]}, kTailHub}, 0.09, 8);
    // Tail skid under the fin.
    b.block({-7.9, 0.0, -0.05}, {0.35, 0.0, 0.15}, {0.0, 0.03, 0.0}, {-0.04, 0.0, 0.1});
}

void wingsAndSkids(MeshBuilder& b) {
    const std::size_t mark = b.faceCount();
    // Stub wing with a rocket pod at its tip and a missile launcher inboard.
    plate(b, {0.05, 0.45, 0.10}, {-1.05, 0.45, 0.10}, {-0.25, 1.30, 0.18}, {-0.95, 1.30, 0.18},
          {0.0, 0.0, 0.06});
    b.loftToPoints({0.75, 1.35, 0.46},
                   {ellipseRing({0.55, 1.35, 0.46}, 0.2, 0.2, 8),
                    ellipseRing({-1.05, 1.35, 0.46}, 0.2, 0.2, 8)},
                   {-1.15, 1.35, 0.46});
    b.block({-0.6, 1.30, 0.28}, {0.25, 0, 0}, {0, 0.03, 0}, {0, 0, 0.1});
    b.block({-0.4, 0.88, 0.42}, {0.75, 0, 0}, {0, 0.16, 0}, {0, 0, 0.14});
    // Horizontal stabiliser on the boom.
    plate(b, {-5.2, 0.2, -0.25}, {-5.8, 0.2, -0.25}, {-5.45, 0.95, -0.25}, {-5.85, 0.95, -0.25},
          {0.0, 0.0, 0.035});
    // Engine exhaust.
    b.tube({{-3.0, 0.30, -0.92}, {-3.55, 0.36, -0.98}}, 0.12, 6);
    // Landing skid, turned up at the front.
    b.tube({{2.45, 1.05, 1.02}, {2.1, 1.05, 1.30}, {1.75, 1.05, 1.367}, {-2.3, 1.05, 1.367}}, 0.05,
           6);
    b.mirrorSince(mark);
    // Cross tubes from skid to skid under the belly.
    for (double x : {1.25, -1.35}) {
        b.tube({{x, -1.05, 1.36},
                {x, -0.88, 0.98},
                {x, -0.5, 0.80},
                {x, 0.5, 0.80},
                {x, 0.88, 0.98},
                {x, 1.05, 1.36}},
               0.045, 4);
    }
}

} // namespace

std::vector<MeshFace> buildHelicopterMesh() {
    MeshBuilder b;
    fuselage(b);
    rotorsAndTail(b);
    wingsAndSkids(b);
    b.refineTo(static_cast<std::size_t>(kTemplateMeshFaceCounts[3]));
    return b.faces();
}

} // namespace kv::model
