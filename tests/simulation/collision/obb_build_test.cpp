#include "collision_meshes.h"
#include "simulation/collision/obb_build.h"
#include "simulation/collision/obb_tree.h"

#include <cmath>
#include <gtest/gtest.h>
#include <sstream>

namespace kv::sim::collision {
namespace {

const Vec3 kP1{0, 0, 0}, kP2{1, 0, 0}, kP3{0, 1, 0};

TEST(CollisionModelLifecycle, ResultCodesFollowTheBuildSequence) {
    Model m;
    EXPECT_EQ(m.state(), BuildState::Constructed);
    EXPECT_EQ(beginModel(m), kOk);
    EXPECT_EQ(m.state(), BuildState::Begun);
    std::ostringstream warnings;
    EXPECT_EQ(endModel(m, warnings), kBuildEmptyModel);
    EXPECT_EQ(m.state(), BuildState::Begun);
    EXPECT_EQ(beginModel(m), kBuildOutOfSequence); // begun again: reset anyway
    EXPECT_EQ(m.state(), BuildState::Begun);
    EXPECT_EQ(addTri(m, kP1, kP2, kP3, 7), kOk);
    EXPECT_EQ(m.state(), BuildState::Adding);
    EXPECT_EQ(beginModel(m), kBuildOutOfSequence);
    EXPECT_EQ(m.triangleCount(), 0);
    EXPECT_EQ(addTri(m, kP1, kP2, kP3, 7), kOk);
    EXPECT_EQ(endModel(m, warnings), kOk);
    EXPECT_EQ(m.state(), BuildState::Processed);
    EXPECT_EQ(addTri(m, kP1, kP2, kP3, 8), kBuildOutOfSequence);
    EXPECT_EQ(m.triangleCount(), 1);
    EXPECT_EQ(beginModel(m), kOk);
    EXPECT_EQ(m.root(), nullptr);
    EXPECT_TRUE(warnings.str().empty());
}

TEST(CollisionModelLifecycle, TriangleArrayGrowsAndKeepsEveryTriangle) {
    Model m;
    beginModel(m);
    for (int i = 0; i < 37; ++i) {
        const float z = static_cast<float>(i);
        ASSERT_EQ(addTri(m, {0, 0, z}, {1, 0, z}, {0, 1, z}, 100 + i), kOk);
    }
    ASSERT_EQ(m.triangleCount(), 37);
    for (int i = 0; i < 37; ++i) {
        EXPECT_EQ(m.triangle(i).id, 100 + i);
        EXPECT_EQ(m.triangle(i).p3[2], static_cast<float>(i));
    }
}

TEST(CollisionBuild, OneTriangleIsASingleLeafFittingTheTriangle) {
    Model m;
    beginModel(m);
    // Longest edge p3 − p1 (length 5): it becomes the first axis.
    addTri(m, {0, 0, 0}, {3, 0, 0}, {3, 4, 0}, 1);
    std::ostringstream warnings;
    ASSERT_EQ(endModel(m, warnings), kOk);
    EXPECT_EQ(m.boxCount(), 2);
    const Box* root = m.root();
    ASSERT_NE(root, nullptr);
    EXPECT_TRUE(root->leaf());
    EXPECT_EQ(root->trp, &m.triangle(0));
    EXPECT_NEAR(std::fabs(root->pR[0]), 0.6f, 1e-6f);
    EXPECT_NEAR(std::fabs(root->pR[3]), 0.8f, 1e-6f);
    EXPECT_NEAR(std::fabs(root->pR[8]), 1.0f, 1e-6f); // third axis: the normal, z
    EXPECT_NEAR(root->d[0], 2.5f, 1e-6f);
    EXPECT_NEAR(root->d[1], 1.2f, 1e-6f); // half the height over the long edge
    EXPECT_NEAR(root->d[2], 0.0f, 1e-6f);
    // The centre is the middle of the ranges along the axes, in model coordinates.
    EXPECT_NEAR(root->pT[0], 2.46f, 1e-5f);
    EXPECT_NEAR(root->pT[1], 1.28f, 1e-5f);
}

TEST(CollisionBuild, ZeroAreaTrianglesWarnAndTheTreeIsStillBuilt) {
    Model m;
    beginModel(m);
    addTri(m, {0, 0, 0}, {1, 0, 0}, {0, 1, 0}, 0);
    addTri(m, {0, 0, 0}, {1, 1, 1}, {2, 2, 2}, 1); // collinear
    addTri(m, {5, 5, 5}, {5, 5, 5}, {5, 5, 5}, 2); // a point
    addTri(m, {0, 0, 1}, {1, 0, 1}, {0, 1, 1}, 3);
    std::ostringstream warnings;
    ASSERT_EQ(endModel(m, warnings), kOk);
    EXPECT_EQ(warnings.str(), "----\nWarning!  Some triangles have zero area!\n----\n");
    EXPECT_EQ(m.zeroAreaTriangles(), 2);
    EXPECT_EQ(m.state(), BuildState::Processed);

    // Only degenerate triangles: the replacement area is 1.
    Model flat;
    beginModel(flat);
    addTri(flat, {0, 0, 0}, {1, 0, 0}, {2, 0, 0}, 0);
    addTri(flat, {0, 1, 0}, {1, 1, 0}, {3, 1, 0}, 1);
    std::ostringstream again;
    ASSERT_EQ(endModel(flat, again), kOk);
    EXPECT_FALSE(again.str().empty());
}

TEST(CollisionBuild, MomentsOfATriangle) {
    const Moment m = triangleMoment({0, 0, 0}, {2, 0, 0}, {0, 2, 0});
    EXPECT_FLOAT_EQ(m.area, 2.0f);
    EXPECT_FLOAT_EQ(m.mean[0], 2.0f * 0.33333334f);
    // S_xx = a (9 m_x² + Σ p_x²) / 12 = 2 (9 × 4/9 + 4) / 12 = 4/3.
    EXPECT_NEAR(m.second[0], 4.0f / 3.0f, 1e-6f);
    EXPECT_NEAR(m.second[1], 2.0f * (9.0f * 4.0f / 9.0f) / 12.0f, 1e-6f);
    EXPECT_EQ(m.second[8], 0.0f);
    const Moment z = triangleMoment({1, 2, 3}, {1, 2, 3}, {0, 0, 0});
    EXPECT_EQ(z.area, 0.0f);
    EXPECT_EQ(z.second[1], 4.0f); // plain sum 1×2 + 1×2
}

TEST(CollisionBuild, JacobiEigenvectorsAreSortedByDescendingEigenvalue) {
    // Q diag(1, 5, 3) Qᵀ for a rotation Q: eigenvalues 5, 3, 1.
    Mat3 q{};
    EulerToMatrix(20.0f, -35.0f, 110.0f, q);
    const float lambda[3] = {1.0f, 5.0f, 3.0f};
    Mat3 a{};
    for (int i = 0; i < 3; ++i) {
        for (int j = 0; j < 3; ++j) {
            float s = 0.0f;
            for (int k = 0; k < 3; ++k)
                s += q[i * 3 + k] * lambda[k] * q[j * 3 + k];
            a[i * 3 + j] = s;
        }
    }
    Mat3 v{};
    Vec3 values{};
    symmetricEigen(a, v, values);
    EXPECT_NEAR(values[0], 5.0f, 1e-5f);
    EXPECT_NEAR(values[1], 3.0f, 1e-5f);
    EXPECT_NEAR(values[2], 1.0f, 1e-5f);
    for (int c = 0; c < 3; ++c) {
        // A v = λ v, and v matches Q's column up to sign.
        const int k = c == 0 ? 1 : (c == 1 ? 2 : 0);
        float dotQ = 0.0f;
        for (int i = 0; i < 3; ++i) {
            float av = 0.0f;
            for (int j = 0; j < 3; ++j)
                av += a[i * 3 + j] * v[j * 3 + c];
            EXPECT_NEAR(av, values[c] * v[i * 3 + c], 1e-5f);
            dotQ += v[i * 3 + c] * q[i * 3 + k];
        }
        EXPECT_NEAR(std::fabs(dotQ), 1.0f, 1e-5f);
    }
    // A diagonal matrix needs no rotation.
    symmetricEigen({2, 0, 0, 0, 7, 0, 0, 0, 4}, v, values);
    EXPECT_EQ(values, (Vec3{7, 4, 2}));
    EXPECT_EQ(v, (Mat3{0, 0, 1, 1, 0, 0, 0, 1, 0}));
}

/// Walks the tree with each box placed in model coordinates and checks that
/// every box holds all triangles below it and that the axes are orthonormal.
void checkBox(const Box& b, const Mat3& parentR, const Vec3& parentT, int& leaves) {
    Mat3 r{};
    MatMul3(parentR, b.pR, r);
    Vec3 c{};
    MatVec3(parentR, b.pT, c);
    VecAdd(c, parentT, c);
    for (int i = 0; i < 3; ++i) {
        for (int j = 0; j < 3; ++j) {
            const float d = r[i] * r[j] + r[3 + i] * r[3 + j] + r[6 + i] * r[6 + j];
            ASSERT_NEAR(d, i == j ? 1.0f : 0.0f, 1e-4f);
        }
    }
    std::vector<const Box*> stack{&b};
    while (!stack.empty()) {
        const Box* x = stack.back();
        stack.pop_back();
        if (x->leaf()) {
            for (const Vec3* p : {&x->trp->p1, &x->trp->p2, &x->trp->p3}) {
                for (int k = 0; k < 3; ++k) {
                    const float proj = ((*p)[0] - c[0]) * r[k] + ((*p)[1] - c[1]) * r[3 + k] +
                                       ((*p)[2] - c[2]) * r[6 + k];
                    ASSERT_LE(std::fabs(proj), b.d[k] + 1e-4f);
                }
            }
        } else {
            stack.push_back(x->P);
            stack.push_back(x->N);
        }
    }
    if (b.leaf()) {
        ++leaves;
        return;
    }
    checkBox(*b.P, r, c, leaves);
    checkBox(*b.N, r, c, leaves);
}

TEST(CollisionBuild, EveryBoxEnclosesItsTrianglesInAllShapes) {
    const testmesh::Mesh meshes[] = {testmesh::carMesh(), testmesh::aircraftMesh(),
                                     testmesh::triangleSoup(500, 4.0f, 0.5f, 11)};
    for (const auto& mesh : meshes) {
        Model m;
        ASSERT_EQ(testmesh::buildModel(mesh, m), kOk);
        int leaves = 0;
        checkBox(*m.root(), {1, 0, 0, 0, 1, 0, 0, 0, 1}, {0, 0, 0}, leaves);
        EXPECT_EQ(leaves, m.triangleCount());
    }
}

} // namespace
} // namespace kv::sim::collision
