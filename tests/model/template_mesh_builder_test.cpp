#include "model/template_mesh_builder.h"

#include <cmath>
#include <gtest/gtest.h>

namespace kv::model {
namespace {

MeshPoint corner(const MeshFace& f, int k) {
    const auto i = static_cast<std::size_t>(3 * k);
    return {f[i], f[i + 1], f[i + 2]};
}

MeshPoint minus(const MeshPoint& a, const MeshPoint& b) {
    return {a[0] - b[0], a[1] - b[1], a[2] - b[2]};
}

MeshPoint cross(const MeshPoint& a, const MeshPoint& b) {
    return {a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2], a[0] * b[1] - a[1] * b[0]};
}

double dot(const MeshPoint& a, const MeshPoint& b) {
    return a[0] * b[0] + a[1] * b[1] + a[2] * b[2];
}

/// Normal as the mesh store and the renderer form it: (p0 - p1) x (p0 - p2).
MeshPoint normal(const MeshFace& f) {
    return cross(minus(corner(f, 0), corner(f, 1)), minus(corner(f, 0), corner(f, 2)));
}

MeshPoint centroid(const MeshFace& f) {
    MeshPoint c{};
    for (int k = 0; k < 4; ++k) {
        for (std::size_t j = 0; j < 3; ++j)
            c[j] += corner(f, k)[j] / 4.0;
    }
    return c;
}

bool isTriangle(const MeshFace& f) {
    return corner(f, 2) == corner(f, 3);
}

/// Signed volume enclosed by the faces, split as the intake splits them.
double volume(const std::vector<MeshFace>& faces) {
    double v = 0.0;
    for (const MeshFace& f : faces) {
        v += dot(corner(f, 0), cross(corner(f, 1), corner(f, 2)));
        if (!isTriangle(f))
            v += dot(corner(f, 0), cross(corner(f, 2), corner(f, 3)));
    }
    return v / 6.0;
}

double area(const std::vector<MeshFace>& faces) {
    double a = 0.0;
    for (const MeshFace& f : faces) {
        auto tri = [](const MeshPoint& p, const MeshPoint& q, const MeshPoint& r) {
            const MeshPoint n = cross(minus(q, p), minus(r, p));
            return 0.5 * std::sqrt(dot(n, n));
        };
        a += tri(corner(f, 0), corner(f, 1), corner(f, 2));
        if (!isTriangle(f))
            a += tri(corner(f, 0), corner(f, 2), corner(f, 3));
    }
    return a;
}

/// Every face of a convex solid faces away from an interior point.
void expectOutwardFrom(const std::vector<MeshFace>& faces, const MeshPoint& inside) {
    for (std::size_t i = 0; i < faces.size(); ++i) {
        EXPECT_GT(dot(normal(faces[i]), minus(centroid(faces[i]), inside)), 0.0) << "face " << i;
    }
}

TEST(MeshBuilder, BoxIsClosedAndWoundOutwards) {
    MeshBuilder b;
    b.box({-1, -2, -3}, {1, 2, 3});
    ASSERT_EQ(b.faceCount(), 6u);
    EXPECT_NEAR(volume(b.faces()), 2.0 * 4.0 * 6.0, 1e-9);
    expectOutwardFrom(b.faces(), {0, 0, 0});
}

TEST(MeshBuilder, LoftFacesOutwardWhicheverWayTheRingsRun) {
    for (bool reverse : {false, true}) {
        SCOPED_TRACE(reverse);
        std::vector<MeshRing> rings;
        for (double x : {2.0, 1.0, -1.0}) {
            MeshRing r = ellipseRing({x, 0.5, -0.2}, 0.8, 0.5, 12);
            if (reverse)
                r = MeshRing(r.rbegin(), r.rend());
            rings.push_back(r);
        }
        MeshBuilder b;
        b.loft(rings);
        // 2 gaps of 12 quads, and 5 strips across each 12-point end.
        EXPECT_EQ(b.faceCount(), 24u + 2u * 5u);
        EXPECT_GT(volume(b.faces()), 0.0);
        expectOutwardFrom(b.faces(), {0.5, 0.5, -0.2});
    }
}

TEST(MeshBuilder, PointedLoftAndTubeFaceOutward) {
    MeshBuilder cone;
    cone.loftToPoints({3, 0, 0},
                      {ellipseRing({2, 0, 0}, 0.5, 0.5, 8), ellipseRing({0, 0, 0}, 0.5, 0.5, 8)},
                      {-1, 0, 0});
    EXPECT_EQ(cone.faceCount(), 8u + 16u);
    expectOutwardFrom(cone.faces(), {1, 0, 0});

    MeshBuilder tube;
    tube.tube({{0, 0, 0}, {0, 1, 0}, {0, 2, 0.0}}, 0.2, 6);
    EXPECT_GT(volume(tube.faces()), 0.0);
    expectOutwardFrom(tube.faces(), {0, 1, 0});
}

TEST(MeshBuilder, BlockAndMirrorStayOutward) {
    MeshBuilder b;
    b.block({1, 2, 3}, {0.5, 0, 0.1}, {0, 0.3, 0}, {-0.05, 0, 0.2});
    b.mirrorSince(0);
    ASSERT_EQ(b.faceCount(), 12u);
    const std::vector<MeshFace> right(b.faces().begin(), b.faces().begin() + 6);
    const std::vector<MeshFace> left(b.faces().begin() + 6, b.faces().end());
    expectOutwardFrom(right, {1, 2, 3});
    expectOutwardFrom(left, {1, -2, 3});
    EXPECT_NEAR(volume(left), volume(right), 1e-12);
    EXPECT_GT(volume(right), 0.0);
}

TEST(MeshBuilder, RepeatedCornersMakeTrianglesOrNothing) {
    MeshBuilder b;
    b.quad({0, 0, 0}, {1, 0, 0}, {1, 0, 0}, {0, 1, 0});
    ASSERT_EQ(b.faceCount(), 1u);
    EXPECT_TRUE(isTriangle(b.faces()[0]));
    EXPECT_EQ(corner(b.faces()[0], 0), (MeshPoint{0, 0, 0}));
    EXPECT_EQ(corner(b.faces()[0], 1), (MeshPoint{1, 0, 0}));
    EXPECT_EQ(corner(b.faces()[0], 2), (MeshPoint{0, 1, 0}));
    b.quad({0, 0, 0}, {0, 0, 0}, {1, 0, 0}, {1, 0, 0});
    b.triangle({2, 2, 2}, {2, 2, 2}, {2, 2, 2});
    EXPECT_EQ(b.faceCount(), 1u);
}

TEST(MeshBuilder, RefinementReachesTheCountWithoutChangingTheShape) {
    MeshBuilder b;
    b.loftToPoints({2, 0, 0}, {ellipseRing({1, 0, 0}, 1, 1, 6), ellipseRing({-1, 0, 0}, 1, 1, 6)},
                   {-2, 0, 0});
    const double v = volume(b.faces());
    const double a = area(b.faces());
    b.refineTo(61);
    EXPECT_EQ(b.faceCount(), 61u);
    EXPECT_NEAR(volume(b.faces()), v, 1e-9);
    EXPECT_NEAR(area(b.faces()), a, 1e-9);
    expectOutwardFrom(b.faces(), {0, 0, 0});
    b.refineTo(10); // never removes faces
    EXPECT_EQ(b.faceCount(), 61u);
}

TEST(MeshBuilder, RoundedRingsMirrorAcrossTheCentrePlane) {
    for (double power : {2.0, 3.0}) {
        const MeshRing r = roundedRing({0, 0.3, 0.1}, 0.5, 0.4, 10, power);
        for (std::size_t k = 0; k < r.size(); ++k) {
            const MeshPoint& p = r[k];
            const MeshPoint& q = r[r.size() - 1 - k];
            EXPECT_NEAR(p[1] - 0.3, -(q[1] - 0.3), 1e-9);
            EXPECT_NEAR(p[2], q[2], 1e-9);
            // On the curve |y/ry|^p + |z/rz|^p = 1.
            EXPECT_NEAR(std::pow(std::abs((p[1] - 0.3) / 0.5), power) +
                            std::pow(std::abs((p[2] - 0.1) / 0.4), power),
                        1.0, 1e-9);
        }
    }
}

} // namespace
} // namespace kv::model
