#include "model/template_mesh.h"

#include <cmath>
#include <numbers>

namespace kv::model {

namespace {

// Where the Motorcycle template's effectors put the steering head and the
// axles at rest on level ground (m). The fork is raked 21.96 degrees.
constexpr MeshPoint kHead = {0.995, 0.0, -0.015};
constexpr MeshPoint kFrontAxle = {1.176, 0.0, 0.433};
constexpr MeshPoint kRearAxle = {-0.465, 0.0, 0.433};
constexpr MeshPoint kSwingPivot = {0.030, 0.0, 0.290};
constexpr MeshPoint kRake = {0.37401, 0.0, 0.92742};

MeshPoint along(const MeshPoint& p, const MeshPoint& d, double s) {
    return {p[0] + s * d[0], p[1] + s * d[1], p[2] + s * d[2]};
}

MeshPoint at(const MeshPoint& p, double right) {
    return {p[0], right, p[2]};
}

/// Solid lofted along the forward axis through rounded sections given as
/// (x, half-width, top, bottom).
void pod(MeshBuilder& b, const std::vector<std::array<double, 4>>& sections, int sides,
         double power) {
    std::vector<MeshRing> rings;
    for (const auto& s : sections) {
        const double zc = 0.5 * (s[2] + s[3]);
        rings.push_back(roundedRing({s[0], 0.0, zc}, s[1], 0.5 * (s[3] - s[2]), sides, power));
    }
    b.loft(rings);
}

void forkAndBars(MeshBuilder& b) {
    const std::size_t mark = b.faceCount();
    // One fork leg: slim stanchion into a thicker slider that reaches the axle.
    b.tube({along(at(kHead, 0.095), kRake, -0.15), along(at(kHead, 0.095), kRake, 0.22),
            along(at(kHead, 0.095), kRake, 0.51)},
           {0.022, 0.031, 0.031}, 6);
    // Mirror stalk and mirror.
    b.tube({{0.92, 0.25, -0.25}, {0.89, 0.40, -0.47}}, 0.008, 4);
    b.loft({roundedRing({0.885, 0.405, -0.495}, 0.048, 0.032, 6, 2.5),
            roundedRing({0.865, 0.405, -0.495}, 0.045, 0.029, 6, 2.5)});
    // Brake lever ahead of the grip.
    b.block({0.985, 0.30, -0.29}, {0.008, 0, 0}, {0, 0.07, 0.0}, {0, 0, 0.006});
    // Handlebar riser.
    b.tube({{0.955, 0.06, -0.13}, {0.955, 0.06, -0.21}}, 0.014, 6);
    b.mirrorSince(mark);

    // Triple clamps square to the steering axis, and the steering stem.
    const MeshPoint across = {0, 0.13, 0};
    const MeshPoint ahead = {0.055 * kRake[2], 0, -0.055 * kRake[0]};
    b.block(along(kHead, kRake, -0.11), ahead, across, along({0, 0, 0}, kRake, 0.016));
    b.block(along(kHead, kRake, 0.08), ahead, across, along({0, 0, 0}, kRake, 0.02));
    b.tube({along(kHead, kRake, -0.13), along(kHead, kRake, 0.10)}, 0.035, 8);
    b.tube({at(kFrontAxle, -0.13), at(kFrontAxle, 0.13)}, 0.014, 6);

    // Handlebar with thicker grips at its ends.
    b.tube({{0.90, -0.37, -0.30}, {0.95, -0.15, -0.22}, {0.95, 0.15, -0.22}, {0.90, 0.37, -0.30}},
           {0.018, 0.012, 0.012, 0.018}, 6);

    // Round headlamp with a domed glass ahead of the steering head.
    std::vector<MeshRing> lamp;
    for (const auto& s : {std::array<double, 2>{1.10, 0.075}, {1.20, 0.10}, {1.255, 0.092}}) {
        lamp.push_back(roundedRing({s[0], 0.0, -0.035}, s[1], s[1], 8, 2.0));
    }
    b.loftToPoints({1.06, 0.0, -0.035}, lamp, {1.29, 0.0, -0.035});
    // Instrument pod.
    b.loft({roundedRing({0.975, 0.0, -0.20}, 0.11, 0.045, 8, 3.0),
            roundedRing({0.955, 0.0, -0.215}, 0.10, 0.04, 8, 3.0)});
}

void tankSeatAndTail(MeshBuilder& b) {
    pod(b,
        {{0.16, 0.08, -0.08, 0.03},
         {0.30, 0.155, -0.175, 0.05},
         {0.52, 0.175, -0.225, 0.05},
         {0.76, 0.15, -0.20, 0.03},
         {0.92, 0.06, -0.08, 0.0}},
        12, 2.6);
    b.tube({{0.60, 0.0, -0.215}, {0.60, 0.0, -0.245}}, 0.035, 8); // filler cap
    // Seat.
    pod(b,
        {{-0.64, 0.06, -0.055, 0.03},
         {-0.56, 0.11, -0.075, 0.04},
         {-0.30, 0.145, -0.05, 0.06},
         {0.08, 0.155, -0.05, 0.05},
         {0.22, 0.09, -0.075, 0.03}},
        8, 4.0);
    // Tail cowl under the seat, ending in the tail lamp.
    pod(b,
        {{-0.82, 0.05, -0.03, 0.03},
         {-0.74, 0.10, -0.05, 0.08},
         {-0.40, 0.13, -0.03, 0.06},
         {-0.12, 0.14, 0.0, 0.12}},
        8, 3.0);
    // Rear mudguard following the tire from above its top round to behind it.
    std::vector<MeshRing> guard;
    for (int i = 0; i <= 4; ++i) {
        const double a = (75.0 + 22.5 * i) * std::numbers::pi / 180.0;
        const double c = std::cos(a);
        const double s = -std::sin(a);
        const MeshPoint inner = {kRearAxle[0] + 0.36 * c, 0, kRearAxle[2] + 0.36 * s};
        const MeshPoint outer = {kRearAxle[0] + 0.375 * c, 0, kRearAxle[2] + 0.375 * s};
        guard.push_back({at(inner, -0.085), at(inner, 0.085), at(outer, 0.085), at(outer, -0.085)});
    }
    b.loft(guard);
    // Number plate on the tail.
    b.block({-0.77, 0.0, 0.13}, {0.02, 0, 0.002}, {0, 0.10, 0}, {0.004, 0, -0.04});
}

void frame(MeshBuilder& b) {
    const std::size_t mark = b.faceCount();
    // Main spar from the steering head over the engine to the swinging-arm pivot.
    b.tube({{0.96, 0.05, -0.02}, {0.70, 0.12, 0.04}, {0.12, 0.13, 0.13}, at(kSwingPivot, 0.13)},
           0.022, 6);
    // Cradle tube down in front of and under the engine.
    b.tube({{1.00, 0.04, 0.07}, {0.70, 0.10, 0.47}, {0.12, 0.10, 0.47}, {0.04, 0.11, 0.33}}, 0.018,
           6);
    // Rear subframe under the seat.
    b.tube({{0.08, 0.12, 0.12}, {-0.70, 0.08, 0.04}}, 0.014, 6);
    // Swinging arm and the rear shock absorber with its spring.
    b.tube({at(kSwingPivot, 0.125), at(kRearAxle, 0.125)}, 0.024, 6);
    b.tube({{-0.34, 0.125, 0.37},
            {-0.31, 0.125, 0.28},
            {-0.27, 0.125, 0.17},
            {-0.235, 0.125, 0.07},
            {-0.215, 0.125, 0.03}},
           {0.018, 0.036, 0.030, 0.036, 0.018}, 6);
    // Footrest.
    b.tube({{0.02, 0.15, 0.40}, {0.0, 0.28, 0.40}}, 0.014, 6);
    b.mirrorSince(mark);

    b.tube({at(kRearAxle, -0.15), at(kRearAxle, 0.15)}, 0.013, 6);
    b.tube({at(kSwingPivot, -0.15), at(kSwingPivot, 0.15)}, 0.02, 6);
    // Gear lever on the left, brake pedal on the right.
    b.block({0.10, -0.19, 0.38}, {0.07, 0, -0.01}, {0, 0.008, 0}, {0, 0, 0.008});
    b.block({0.10, 0.19, 0.40}, {0.09, 0, -0.015}, {0, 0.008, 0}, {0, 0, 0.008});
    // Chain guard over the left arm.
    b.block({-0.20, -0.15, 0.32}, {0.22, 0, 0.06}, {0, 0.004, 0}, {-0.01, 0, 0.03});
}

void engine(MeshBuilder& b) {
    // Crankcase: a convex side outline extruded across, with bevelled covers.
    const std::array<double, 2> outline[] = {{0.60, 0.30}, {0.52, 0.47},  {0.12, 0.50},
                                             {0.00, 0.43}, {-0.03, 0.31}, {0.04, 0.18},
                                             {0.30, 0.15}, {0.54, 0.22}};
    auto section = [&](double y, double shrink) {
        MeshRing r;
        for (const auto& p : outline) {
            r.push_back({0.29 + (p[0] - 0.29) * shrink, y, 0.33 + (p[1] - 0.33) * shrink});
        }
        return r;
    };
    b.loft({section(-0.21, 0.82), section(-0.18, 1.0), section(0.18, 1.0), section(0.21, 0.82)});

    // Cylinder block leaning forward, finned, under its head and cam cover.
    const double lean = 25.0 * std::numbers::pi / 180.0;
    const MeshPoint up = {std::sin(lean), 0, -std::cos(lean)};
    const MeshPoint fwd = {std::cos(lean), 0, std::sin(lean)};
    const MeshPoint base = {0.33, 0.0, 0.20};
    auto slab = [&](double s, double half, double width, double depth) {
        b.block(along(base, up, s), along({0, 0, 0}, fwd, depth), {0, width, 0},
                along({0, 0, 0}, up, half));
    };
    slab(0.06, 0.06, 0.15, 0.085);
    for (int i = 0; i < 3; ++i)
        slab(0.025 + 0.05 * i, 0.007, 0.185, 0.115);
    slab(0.185, 0.03, 0.18, 0.11);
    slab(0.235, 0.02, 0.16, 0.09);
    // Carburettors and air box behind the cylinders.
    b.block({0.14, 0.0, 0.08}, {0.06, 0, 0}, {0, 0.15, 0}, {0, 0, 0.05});
    b.block({0.00, 0.0, 0.10}, {0.08, 0, 0}, {0, 0.12, 0}, {0, 0, 0.07});
}

void exhaust(MeshBuilder& b) {
    const std::size_t mark = b.faceCount();
    b.tube({{0.50, 0.07, 0.10}, {0.64, 0.10, 0.28}, {0.50, 0.14, 0.49}, {0.06, 0.19, 0.45}}, 0.024,
           6);
    b.tube({{0.08, 0.195, 0.45}, {-0.52, 0.21, 0.26}, {-0.60, 0.21, 0.235}}, {0.045, 0.055, 0.04},
           6);
    b.mirrorSince(mark);
}

} // namespace

std::vector<MeshFace> buildMotorcycleMesh() {
    MeshBuilder b;
    forkAndBars(b);
    tankSeatAndTail(b);
    frame(b);
    engine(b);
    exhaust(b);
    b.refineTo(static_cast<std::size_t>(kTemplateMeshFaceCounts[1]));
    return b.faces();
}

} // namespace kv::model
