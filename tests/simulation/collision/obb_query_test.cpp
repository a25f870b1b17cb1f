#include "collision_meshes.h"
#include "simulation/collision/obb_collide.h"
#include "simulation/collision/obb_overlap.h"

#include <gtest/gtest.h>
#include <set>
#include <sstream>
#include <utility>

namespace kv::sim::collision {
namespace {

using PairSet = std::set<std::pair<int, int>>;

const Mat3 kIdentity{1, 0, 0, 0, 1, 0, 0, 0, 1};
const Vec3 kOrigin{0, 0, 0};

PairSet pairsOf(const Collider& c) {
    PairSet s;
    for (int i = 0; i < c.contactCount(); ++i)
        s.insert({c.contact(i).id1, c.contact(i).id2});
    return s;
}

/// Every triangle pair tested directly, model 1's corners brought into model
/// 2's frame with the same single-precision operations as the query.
PairSet bruteForce(const Model& m1, const Mat3& r1, const Vec3& t1, float s1, const Model& m2,
                   const Mat3& r2, const Vec3& t2, float s2) {
    Mat3 mr{};
    for (int i = 0; i < 3; ++i) {
        for (int j = 0; j < 3; ++j) {
            mr[i * 3 + j] =
                (s1 / s2) * (r2[i] * r1[j] + r2[3 + i] * r1[3 + j] + r2[6 + i] * r1[6 + j]);
        }
    }
    const Vec3 dt{t1[0] - t2[0], t1[1] - t2[1], t1[2] - t2[2]};
    Vec3 mt{};
    for (int i = 0; i < 3; ++i) {
        mt[i] = (r2[i] * dt[0] + r2[3 + i] * dt[1] + r2[6 + i] * dt[2]) / s2;
    }
    auto place = [&](const Vec3& p) {
        Vec3 q{};
        for (int i = 0; i < 3; ++i) {
            q[i] = mr[i * 3] * p[0] + mr[i * 3 + 1] * p[1] + mr[i * 3 + 2] * p[2];
            q[i] += mt[i];
        }
        return q;
    };
    PairSet s;
    for (int i = 0; i < m1.triangleCount(); ++i) {
        const Tri& a = m1.triangle(i);
        const Vec3 p1 = place(a.p1), p2 = place(a.p2), p3 = place(a.p3);
        for (int j = 0; j < m2.triangleCount(); ++j) {
            const Tri& b = m2.triangle(j);
            if (triContact(p1, p2, p3, b.p1, b.p2, b.p3))
                s.insert({a.id, b.id});
        }
    }
    return s;
}

Model oneTriangle(const Vec3& p1, const Vec3& p2, const Vec3& p3, int id) {
    Model m;
    beginModel(m);
    addTri(m, p1, p2, p3, id);
    std::ostringstream warnings;
    endModel(m, warnings);
    return m;
}

TEST(CollisionQuery, OneTriangleModelsCoplanarOverlapGiveOneContact) {
    const Model a = oneTriangle({0, 0, 0}, {2, 0, 0}, {0, 2, 0}, 5);
    const Model b = oneTriangle({0.5f, 0.5f, 0}, {3, 0.5f, 0}, {0.5f, 3, 0}, 9);
    Collider c;
    ASSERT_EQ(c.collide(kIdentity, kOrigin, 1, a, kIdentity, kOrigin, 1, b, kAllContacts), kOk);
    ASSERT_EQ(c.contactCount(), 1);
    EXPECT_EQ(c.contact(0).id1, 5);
    EXPECT_EQ(c.contact(0).id2, 9);
    EXPECT_EQ(c.contact(0).tri1, (std::array<float, 9>{0, 0, 0, 2, 0, 0, 0, 2, 0}));
    EXPECT_EQ(c.contact(0).tri2, (std::array<float, 9>{0.5f, 0.5f, 0, 3, 0.5f, 0, 0.5f, 3, 0}));
    EXPECT_EQ(c.boxTests(), 1);
    EXPECT_EQ(c.triangleTests(), 1);

    // Lifted off the plane by a world translation: no contact.
    ASSERT_EQ(c.collide(kIdentity, kOrigin, 1, a, kIdentity, {0, 0, 0.01f}, 1, b, kAllContacts),
              kOk);
    EXPECT_EQ(c.contactCount(), 0);
}

TEST(CollisionQuery, IdenticalModelsOneMetreApartNeedOnlyAFewBoxTests) {
    // A 0.8 m hull: its extent along x is below the 1 m spacing.
    const testmesh::Mesh hull = testmesh::boxMesh(0.8f, 0.6f, 0.4f, 4);
    Model a;
    Model b;
    ASSERT_EQ(testmesh::buildModel(hull, a), kOk);
    ASSERT_EQ(testmesh::buildModel(hull, b), kOk);
    Collider c;
    for (const Vec3& offset : {Vec3{1, 0, 0}, Vec3{0, -1, 0}, Vec3{0, 0, 1}}) {
        ASSERT_EQ(c.collide(kIdentity, kOrigin, 1, a, kIdentity, offset, 1, b, kAllContacts), kOk);
        EXPECT_EQ(c.contactCount(), 0);
        EXPECT_LE(c.boxTests(), 3);
        EXPECT_EQ(c.triangleTests(), 0);
    }
    // Brought to 0.7 m along x they overlap over a band of faces.
    ASSERT_EQ(c.collide(kIdentity, kOrigin, 1, a, kIdentity, {0.7f, 0, 0}, 1, b, kAllContacts),
              kOk);
    EXPECT_GT(c.contactCount(), 0);
}

TEST(CollisionQuery, FirstContactFlagStopsAtOneContact) {
    const testmesh::Mesh car = testmesh::carMesh();
    Model a;
    Model b;
    ASSERT_EQ(testmesh::buildModel(car, a), kOk);
    ASSERT_EQ(testmesh::buildModel(car, b), kOk);
    Mat3 turned{};
    EulerToMatrix(0, 0, 90, turned);
    Collider c;
    ASSERT_EQ(c.collide(kIdentity, kOrigin, 1, a, turned, {0.5f, 0.2f, 0}, 1, b, kAllContacts),
              kOk);
    const PairSet all = pairsOf(c);
    ASSERT_GT(all.size(), 10u); // the list has grown past its first 10 entries
    const int allBoxTests = c.boxTests();
    ASSERT_EQ(c.collide(kIdentity, kOrigin, 1, a, turned, {0.5f, 0.2f, 0}, 1, b, kFirstContact),
              kOk);
    ASSERT_EQ(c.contactCount(), 1);
    EXPECT_EQ(all.count({c.contact(0).id1, c.contact(0).id2}), 1u);
    EXPECT_LT(c.boxTests(), allBoxTests);
    // Apart, the first-contact query finds none.
    ASSERT_EQ(c.collide(kIdentity, kOrigin, 1, a, turned, {20, 0, 0}, 1, b, kFirstContact), kOk);
    EXPECT_EQ(c.contactCount(), 0);
}

TEST(CollisionQuery, UnprocessedModelsAreRefused) {
    const Model done = oneTriangle({0, 0, 0}, {1, 0, 0}, {0, 1, 0}, 0);
    Model adding;
    beginModel(adding);
    addTri(adding, {0, 0, 0}, {1, 0, 0}, {0, 1, 0}, 0);
    const Model constructed;
    Collider c;
    EXPECT_EQ(c.collide(kIdentity, kOrigin, 1, done, kIdentity, kOrigin, 1, adding, kAllContacts),
              kUnprocessedModel);
    EXPECT_EQ(
        c.collide(kIdentity, kOrigin, 1, constructed, kIdentity, kOrigin, 1, done, kAllContacts),
        kUnprocessedModel);
    EXPECT_EQ(c.contactCount(), 0);
}

TEST(CollisionQuery, TreeFindsExactlyThePairsOfTheDirectTest) {
    struct Case {
        const char* name;
        testmesh::Mesh a;
        testmesh::Mesh b;
        float spread;
    };
    const Case cases[] = {
        {"soups", testmesh::triangleSoup(300, 3.0f, 0.6f, 1),
         testmesh::triangleSoup(300, 3.0f, 0.6f, 2), 1.5f},
        {"car and aircraft", testmesh::carMesh(), testmesh::aircraftMesh(), 2.5f},
        {"car and soup", testmesh::carMesh(), testmesh::triangleSoup(200, 4.0f, 0.4f, 3), 2.0f},
    };
    Collider c;
    for (const Case& k : cases) {
        Model a;
        Model b;
        ASSERT_EQ(testmesh::buildModel(k.a, a), kOk);
        ASSERT_EQ(testmesh::buildModel(k.b, b), kOk);
        const auto posesA = testmesh::randomPoses(12, k.spread, 101);
        const auto posesB = testmesh::randomPoses(12, k.spread, 202);
        int touching = 0;
        for (std::size_t i = 0; i < posesA.size(); ++i) {
            const auto& pa = posesA[i];
            const auto& pb = posesB[i];
            ASSERT_EQ(c.collide(pa.r, pa.t, 1, a, pb.r, pb.t, 1, b, kAllContacts), kOk);
            const PairSet expected = bruteForce(a, pa.r, pa.t, 1, b, pb.r, pb.t, 1);
            EXPECT_EQ(pairsOf(c), expected) << k.name << " pose " << i;
            EXPECT_EQ(c.contactCount(), static_cast<int>(expected.size())) << "no repeats";
            touching += expected.empty() ? 0 : 1;
            for (int n = 0; n < c.contactCount(); ++n) {
                const Contact& ct = c.contact(n);
                const Tri& t1 = a.triangle(ct.id1);
                const Tri& t2 = b.triangle(ct.id2);
                EXPECT_EQ(ct.tri1,
                          (std::array<float, 9>{t1.p1[0], t1.p1[1], t1.p1[2], t1.p2[0], t1.p2[1],
                                                t1.p2[2], t1.p3[0], t1.p3[1], t1.p3[2]}));
                EXPECT_EQ(ct.tri2[8], t2.p3[2]);
            }
        }
        EXPECT_GT(touching, 3) << k.name << ": the poses should often touch";
    }
}

TEST(CollisionQuery, ZeroAreaTrianglesAreFoundLikeAnyOther) {
    // Segments (three collinear corners) and points: their leaf boxes still
    // need a full set of axes, or the box test would lose their contacts.
    testmesh::Mesh slivers;
    std::mt19937 rng(5);
    std::uniform_real_distribution<float> where(-1.0f, 1.0f);
    for (int i = 0; i < 300; ++i) {
        const Vec3 a{where(rng), where(rng), where(rng)};
        const Vec3 dir{where(rng) * 0.5f, where(rng) * 0.5f, where(rng) * 0.5f};
        const int ia = slivers.addVertex(a);
        const int ib = slivers.addVertex({a[0] + dir[0], a[1] + dir[1], a[2] + dir[2]});
        const int ic = slivers.addVertex(
            i % 10 == 0 ? a
                        : Vec3{a[0] + 0.5f * dir[0], a[1] + 0.5f * dir[1], a[2] + 0.5f * dir[2]});
        slivers.triangles.push_back({ia, ic, ib});
    }
    Model a;
    Model b;
    ASSERT_EQ(testmesh::buildModel(slivers, a), kOk);
    ASSERT_EQ(testmesh::buildModel(testmesh::triangleSoup(300, 2.0f, 0.5f, 6), b), kOk);
    EXPECT_GT(a.zeroAreaTriangles(), 0);
    Collider c;
    int found = 0;
    for (const auto& p : testmesh::randomPoses(20, 0.5f, 77)) {
        ASSERT_EQ(c.collide(kIdentity, kOrigin, 1, a, p.r, p.t, 1, b, kAllContacts), kOk);
        const PairSet expected = bruteForce(a, kIdentity, kOrigin, 1, b, p.r, p.t, 1);
        EXPECT_EQ(pairsOf(c), expected);
        found += static_cast<int>(expected.size());
    }
    EXPECT_GT(found, 20);
}

TEST(CollisionQuery, ScalesPlaceTheModels) {
    const testmesh::Mesh soup = testmesh::triangleSoup(150, 2.0f, 0.5f, 7);
    testmesh::Mesh doubled = soup;
    for (Vec3& v : doubled.vertices)
        VecScale(v, 2.0f, v);
    Model a;
    Model b;
    Model b2;
    ASSERT_EQ(testmesh::buildModel(soup, a), kOk);
    ASSERT_EQ(testmesh::buildModel(soup, b), kOk);
    ASSERT_EQ(testmesh::buildModel(doubled, b2), kOk);
    Collider c;
    const auto poses = testmesh::randomPoses(8, 1.0f, 9);
    for (const auto& p : poses) {
        ASSERT_EQ(c.collide(kIdentity, kOrigin, 1, a, p.r, p.t, 2, b, kAllContacts), kOk);
        const PairSet scaled = pairsOf(c);
        EXPECT_EQ(scaled, bruteForce(a, kIdentity, kOrigin, 1, b, p.r, p.t, 2));
        ASSERT_EQ(c.collide(kIdentity, kOrigin, 1, a, p.r, p.t, 1, b2, kAllContacts), kOk);
        EXPECT_EQ(pairsOf(c), scaled);
        // Scaling model 1 instead: the same geometry seen from the other side.
        ASSERT_EQ(c.collide(p.r, p.t, 2, b, kIdentity, kOrigin, 1, a, kAllContacts), kOk);
        PairSet swapped;
        for (const auto& [x, y] : pairsOf(c))
            swapped.insert({y, x});
        EXPECT_EQ(swapped, scaled);
    }
}

} // namespace
} // namespace kv::sim::collision
