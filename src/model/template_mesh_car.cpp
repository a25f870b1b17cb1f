#include "model/template_mesh.h"
#include "model/template_mesh_profile.h"

#include <algorithm>
#include <cmath>

namespace kv::model {

namespace {

// Wheel centres of the Car template's tires at rest on level ground (m): the
// tire effectors' offsets less the static strut compression.
constexpr double kFrontAxle = 1.1557;
constexpr double kRearAxle = -1.2998;
constexpr double kAxleDown = 0.30;
/// Radius of the wheel-arch opening (m), a little over the tire radius.
constexpr double kArchRadius = 0.36;
/// Radius over which the floor clears a tire (m): the tire's 0.29 and a little.
constexpr double kWellRadius = 0.33;
/// Distances from an axle of the stations that shape each arch (m).
constexpr double kArchStations[] = {0.36, 0.30, 0.17, 0.0, -0.17, -0.30, -0.36};

double halfWidth(double x) {
    return profile(
        {{-2.04, 0.64}, {-1.85, 0.77}, {-1.65, 0.80}, {1.55, 0.80}, {1.80, 0.77}, {1.99, 0.62}}, x);
}

double floorDown(double x) {
    return profile(
        {{-2.04, 0.30}, {-1.85, 0.40}, {-1.60, 0.42}, {1.60, 0.42}, {1.80, 0.36}, {1.99, 0.24}}, x);
}

/// Shoulder line along the body side: low at the nose, rising to the tail.
double beltDown(double x) {
    return profile(
        {{-2.04, -0.22}, {-1.85, -0.31}, {-1.0, -0.30}, {0.80, -0.22}, {1.80, -0.08}, {1.99, 0.0}},
        x);
}

/// Centre line of the top: bonnet, windscreen, roof and the hatch.
double topDown(double x) {
    return profile({{-2.04, -0.27},
                    {-1.85, -0.50},
                    {-1.66, -0.69},
                    {-1.58, -0.735},
                    {-1.46, -0.775},
                    {-1.30, -0.78},
                    {-0.12, -0.78},
                    {0.10, -0.66},
                    {0.45, -0.47},
                    {0.80, -0.30},
                    {1.80, -0.17},
                    {1.99, -0.08}},
                   x);
}

/// Lower edge of the body side: the sill, cut away round each wheel.
double sillDown(double x) {
    double z = floorDown(x) - 0.02;
    for (double axle : {kFrontAxle, kRearAxle}) {
        const double dx = std::abs(x - axle);
        if (dx < kArchRadius - 1e-9) {
            z = std::min(z, kAxleDown - std::sqrt(kArchRadius * kArchRadius - dx * dx));
        }
    }
    return z;
}

/// Floor inboard of the wheels, rising over each tire (m).
double wellDown(double x) {
    double z = floorDown(x);
    for (double axle : {kFrontAxle, kRearAxle}) {
        const double dx = std::abs(x - axle);
        if (dx < kWellRadius) {
            z = std::min(z, kAxleDown - std::sqrt(kWellRadius * kWellRadius - dx * dx));
        }
    }
    return z;
}

MeshRing carRing(double x) {
    const double w = halfWidth(x);
    const double top = topDown(x);
    const double belt = beltDown(x);
    const MeshPoint right[] = {
        // Floor edge inboard of the wheels; over a wheel it rises to just clear
        // the tire, so that the wheel well closes above it.
        {x, 0.50, wellDown(x)},
        {x, w - 0.03, sillDown(x)}, // sill, tucked under
        {x, w, belt},               // shoulder
        {x, w - 0.05, belt - 0.02}, // foot of the side window
        {x, w - 0.20, top + 0.04},  // edge of roof or bonnet
        {x, 0.0, top},              // crown
    };
    MeshRing r(std::begin(right), std::end(right));
    for (int k = 4; k >= 0; --k) {
        MeshPoint p = right[k];
        p[1] = -p[1];
        r.push_back(p);
    }
    return r;
}

void addMirror(MeshBuilder& b) {
    // Door mirror on a short arm at the foot of the windscreen pillar.
    const double x = 0.66;
    const double z = -0.30;
    const MeshRing root = {{x + 0.05, 0.74, z + 0.05},
                           {x + 0.05, 0.74, z - 0.07},
                           {x - 0.05, 0.74, z - 0.07},
                           {x - 0.03, 0.74, z + 0.05}};
    const MeshRing tip = {{x + 0.03, 0.84, z + 0.04},
                          {x + 0.03, 0.84, z - 0.07},
                          {x - 0.04, 0.84, z - 0.07},
                          {x - 0.03, 0.84, z + 0.04}};
    b.loft({root, tip});
}

} // namespace

std::vector<MeshFace> buildCarMesh() {
    std::vector<double> stations = {1.99, 1.80};
    for (double d : kArchStations)
        stations.push_back(kFrontAxle + d);
    for (double x : {0.45, 0.10, -0.12, -0.55})
        stations.push_back(x);
    for (double d : kArchStations)
        stations.push_back(kRearAxle + d);
    for (double x : {-1.85, -2.04})
        stations.push_back(x);

    std::vector<MeshRing> rings;
    for (double x : stations)
        rings.push_back(carRing(x));
    MeshBuilder b;
    b.loft(rings);
    // Roof spoiler over the top of the tailgate.
    b.block({-1.58, 0.0, -0.76}, {0.12, 0.0, -0.008}, {0.0, 0.58, 0.0}, {0.0, 0.0, 0.012});
    const std::size_t mark = b.faceCount();
    addMirror(b);
    b.mirrorSince(mark);
    b.refineTo(static_cast<std::size_t>(kTemplateMeshFaceCounts[0]));
    return b.faces();
}

} // namespace kv::model
