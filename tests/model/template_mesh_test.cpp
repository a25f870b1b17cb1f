#include "common/unit_constants.h"
#include "common/vecmath.h"
#include "geometry/face_split.h"
#include "model/driver_codes.h"
#include "model/object_model.h"
#include "model/template.h"
#include "model/template_mesh.h"

#include <algorithm>
#include <cmath>
#include <gtest/gtest.h>
#include <numbers>

namespace kv::model {
namespace {

struct MeshCase {
    int type;
    std::size_t faces;
    MeshPoint lo;
    MeshPoint hi;
};

// Face counts and extents (m) the built-in meshes are made to.
const MeshCase kMeshes[] = {
    {kVehicleCar, 260, {-2.04, -0.84, -0.78}, {1.99, 0.84, 0.42}},
    {kVehicleMotorcycle, 764, {-0.82, -0.45, -0.54}, {1.29, 0.45, 0.52}},
    {kVehicleAircraft, 422, {-7.81, -7.25, -3.59}, {12.81, 7.25, 0.79}},
    {kVehicleHelicopter, 460, {-8.84, -1.54, -2.33}, {4.24, 1.52, 1.41}},
};

MeshPoint corner(const MeshFace& f, int k) {
    const auto i = static_cast<std::size_t>(3 * k);
    return {f[i], f[i + 1], f[i + 2]};
}

TEST(TemplateMesh, FaceCountsAndExtents) {
    for (const MeshCase& c : kMeshes) {
        SCOPED_TRACE(c.type);
        const auto& faces = templateMeshFaces(c.type);
        EXPECT_EQ(faces.size(), c.faces);
        EXPECT_EQ(faces.size(), static_cast<std::size_t>(kTemplateMeshFaceCounts[c.type]));
        MeshPoint lo{1e9, 1e9, 1e9};
        MeshPoint hi{-1e9, -1e9, -1e9};
        for (const MeshFace& f : faces) {
            for (int k = 0; k < 4; ++k) {
                for (std::size_t j = 0; j < 3; ++j) {
                    lo[j] = std::min(lo[j], corner(f, k)[j]);
                    hi[j] = std::max(hi[j], corner(f, k)[j]);
                }
            }
        }
        for (std::size_t j = 0; j < 3; ++j) {
            EXPECT_NEAR(lo[j], c.lo[j], 0.03) << "axis " << j;
            EXPECT_NEAR(hi[j], c.hi[j], 0.03) << "axis " << j;
        }
    }
}

TEST(TemplateMesh, GeneratedTheSameEveryTime) {
    EXPECT_EQ(buildCarMesh(), templateMeshFaces(kVehicleCar));
    EXPECT_EQ(buildMotorcycleMesh(), templateMeshFaces(kVehicleMotorcycle));
    EXPECT_EQ(buildAircraftMesh(), templateMeshFaces(kVehicleAircraft));
    EXPECT_EQ(buildHelicopterMesh(), templateMeshFaces(kVehicleHelicopter));
}

TEST(TemplateMesh, LoadHandsEveryFaceInOrder) {
    for (int type = 0; type < 4; ++type) {
        std::vector<MeshFace> got;
        const int ok = loadTemplateMesh(type, [&](const std::array<double, 12>& f) {
            got.push_back(f);
            return 1;
        });
        EXPECT_EQ(ok, 1);
        EXPECT_EQ(got, templateMeshFaces(type)) << type;
    }
}

TEST(TemplateMesh, LoadStopsAtTheFirstRefusedFace) {
    int calls = 0;
    const int ok = loadTemplateMesh(
        kVehicleAircraft, [&](const std::array<double, 12>&) { return ++calls < 10 ? 1 : 0; });
    EXPECT_EQ(ok, 0);
    EXPECT_EQ(calls, 10);
}

TEST(TemplateMesh, OtherVehicleTypesHaveNoFaces) {
    for (int type : {-1, 4, 99}) {
        EXPECT_TRUE(templateMeshFaces(type).empty());
        int calls = 0;
        EXPECT_EQ(loadTemplateMesh(type, [&](const std::array<double, 12>&) { return ++calls; }),
                  1);
        EXPECT_EQ(calls, 0);
    }
}

/// What the mesh store makes of the faces: single-precision corners, triangles
/// split by the intake rule, vertices shared within the relative tolerance and
/// repeated triangles dropped.
struct Intake {
    std::vector<Vec3> vertices;
    std::vector<std::array<int, 3>> triangles;
    int emptyFaces = 0;

    int vertex(const Vec3& p) {
        for (std::size_t i = 0; i < vertices.size(); ++i) {
            if (VecNearlyEqual(vertices[i], p))
                return static_cast<int>(i);
        }
        vertices.push_back(p);
        return static_cast<int>(vertices.size() - 1);
    }

    void add(const MeshFace& f) {
        std::array<geom::Corner<float>, 4> c{};
        for (std::size_t k = 0; k < 4; ++k) {
            for (std::size_t j = 0; j < 3; ++j)
                c[k][j] = static_cast<float>(f[3 * k + j]);
        }
        std::array<geom::Triangle<float>, 2> out{};
        const int n = geom::splitFace(c, out);
        if (n == 0)
            ++emptyFaces;
        for (int t = 0; t < n; ++t) {
            std::array<int, 3> ids{};
            for (std::size_t k = 0; k < 3; ++k) {
                ids[k] = vertex(out[static_cast<std::size_t>(t)][k]);
            }
            std::array<int, 3> sorted = ids;
            std::sort(sorted.begin(), sorted.end());
            const bool repeated = std::any_of(triangles.begin(), triangles.end(), [&](auto tri) {
                std::sort(tri.begin(), tri.end());
                return tri == sorted;
            });
            if (!repeated)
                triangles.push_back(ids);
        }
    }
};

TEST(TemplateMesh, EveryFaceReachesTheStoreWithinItsLimits) {
    for (const MeshCase& c : kMeshes) {
        SCOPED_TRACE(c.type);
        Intake intake;
        for (const MeshFace& f : templateMeshFaces(c.type))
            intake.add(f);
        EXPECT_EQ(intake.emptyFaces, 0);
        EXPECT_GE(intake.triangles.size(), c.faces);
        EXPECT_LE(intake.triangles.size(), 2000u);
        EXPECT_LE(intake.vertices.size(), 6000u);
    }
}

TEST(TemplateMesh, SolidsAreWoundOutwards) {
    // A closed surface wound outwards encloses positive volume; a part wound
    // inwards would subtract twice its own from the total.
    const double expected[] = {4.71, 0.206, 60.3, 12.67}; // m^3
    for (int type = 0; type < 4; ++type) {
        double v = 0.0;
        for (const MeshFace& f : templateMeshFaces(type)) {
            const MeshPoint a = corner(f, 0);
            auto triple = [&](const MeshPoint& b, const MeshPoint& d) {
                return a[0] * (b[1] * d[2] - b[2] * d[1]) - a[1] * (b[0] * d[2] - b[2] * d[0]) +
                       a[2] * (b[0] * d[1] - b[1] * d[0]);
            };
            v += triple(corner(f, 1), corner(f, 2)) + triple(corner(f, 2), corner(f, 3));
        }
        EXPECT_NEAR(v / 6.0, expected[type], 0.02 * expected[type]) << type;
    }
}

/// Position (m) and spin axis of tire effector `index` when every strut is
/// compressed by `ratio` of its travel and all other drivers are at zero.
struct TirePose {
    MeshPoint centre;
    MeshPoint axle;
};

using Rotation = std::array<MeshPoint, 3>; // rows

MeshPoint rotate(const Rotation& r, const MeshPoint& v) {
    return {r[0][0] * v[0] + r[0][1] * v[1] + r[0][2] * v[2],
            r[1][0] * v[0] + r[1][1] * v[1] + r[1][2] * v[2],
            r[2][0] * v[0] + r[2][1] * v[1] + r[2][2] * v[2]};
}

Rotation times(const Rotation& a, const Rotation& b) {
    Rotation c{};
    for (std::size_t i = 0; i < 3; ++i) {
        for (std::size_t j = 0; j < 3; ++j) {
            for (std::size_t k = 0; k < 3; ++k)
                c[i][j] += a[i][k] * b[k][j];
        }
    }
    return c;
}

void pose(const ObjectRecord& r, int index, double ratio, MeshPoint& origin, Rotation& axes) {
    const EffectorRecord& e = r.effectors[static_cast<std::size_t>(index)];
    double v[6];
    for (std::size_t k = 0; k < 6; ++k) {
        const int code = e.drivers[k];
        const double q = (isStrutCode(code) || isPivotCode(code)) ? ratio : 0.0;
        v[k] = e.offsets[k] + e.scales[k] * q;
    }
    const double d = std::numbers::pi / 180.0;
    const double cr = std::cos(v[3] * d), sr = std::sin(v[3] * d);
    const double cp = std::cos(v[4] * d), sp = std::sin(v[4] * d);
    const double cy = std::cos(v[5] * d), sy = std::sin(v[5] * d);
    const Rotation yaw = {{{cy, -sy, 0}, {sy, cy, 0}, {0, 0, 1}}};
    const Rotation pitch = {{{cp, 0, sp}, {0, 1, 0}, {-sp, 0, cp}}};
    const Rotation roll = {{{1, 0, 0}, {0, cr, -sr}, {0, sr, cr}}};
    const Rotation local = times(yaw, times(pitch, roll));
    const MeshPoint shift = {v[0] * kMetresPerFootD, v[1] * kMetresPerFootD,
                             v[2] * kMetresPerFootD};
    if (e.parent < 0) {
        origin = shift;
        axes = local;
        return;
    }
    MeshPoint parentOrigin;
    Rotation parentAxes;
    pose(r, e.parent, ratio, parentOrigin, parentAxes);
    const MeshPoint s = rotate(parentAxes, shift);
    origin = {parentOrigin[0] + s[0], parentOrigin[1] + s[1], parentOrigin[2] + s[2]};
    axes = times(parentAxes, local);
}

TEST(TemplateMesh, GroundVehiclesLeaveRoomForTheirTires) {
    // Static compression on level ground: 0.15 of the travel for the car,
    // about 0.2 for the motorcycle; fully extended as well.
    const std::pair<int, double> cases[] = {{kVehicleCar, 0.0},
                                            {kVehicleCar, 0.15},
                                            {kVehicleMotorcycle, 0.0},
                                            {kVehicleMotorcycle, 0.2}};
    for (const auto& [type, ratio] : cases) {
        SCOPED_TRACE(type);
        SCOPED_TRACE(ratio);
        ObjectRecord r;
        resetObject(r);
        r.vehicleType = type;
        applyTemplate(r);
        for (int i = 0; i < r.effectorCount; ++i) {
            const EffectorRecord& e = r.effectors[static_cast<std::size_t>(i)];
            if (e.kind != kEffectorTire)
                continue;
            MeshPoint c;
            Rotation axes;
            pose(r, i, ratio, c, axes);
            const MeshPoint axle = {axes[0][1], axes[1][1], axes[2][1]};
            const double radius = e.radius * kMetresPerFootD;
            const double halfWidth = 0.5 * e.width * kMetresPerFootD;
            // Sample every triangle of every face; the hub (inner half of the
            // wheel) may hold an axle, the rest of the wheel must stay clear.
            int inside = 0;
            constexpr int kSteps = 8;
            for (const MeshFace& f : templateMeshFaces(type)) {
                for (int t = 0; t < 2; ++t) {
                    const MeshPoint a = corner(f, 0);
                    const MeshPoint b = corner(f, 1 + t);
                    const MeshPoint g = corner(f, 2 + t);
                    for (int u = 0; u <= kSteps; ++u) {
                        for (int w = 0; u + w <= kSteps; ++w) {
                            const double su = double(u) / kSteps;
                            const double sw = double(w) / kSteps;
                            MeshPoint d;
                            for (std::size_t j = 0; j < 3; ++j) {
                                d[j] = a[j] + su * (b[j] - a[j]) + sw * (g[j] - a[j]) - c[j];
                            }
                            const double along = d[0] * axle[0] + d[1] * axle[1] + d[2] * axle[2];
                            const double off = std::sqrt(std::max(
                                0.0, d[0] * d[0] + d[1] * d[1] + d[2] * d[2] - along * along));
                            if (std::abs(along) < halfWidth - 0.005 && off < radius - 0.005 &&
                                off > 0.5 * radius) {
                                ++inside;
                            }
                        }
                    }
                }
            }
            EXPECT_EQ(inside, 0) << recordName(e.name);
        }
    }
}

double lowestPoint(int type) {
    double lowest = -1e9;
    for (const MeshFace& f : templateMeshFaces(type)) {
        for (int k = 0; k < 4; ++k)
            lowest = std::max(lowest, corner(f, k)[2]);
    }
    return lowest;
}

TEST(TemplateMesh, BodiesClearTheGroundOnTheirTires) {
    // Lowest point of each tire at a strut compression well beyond the static
    // one; the body stays above it.
    const std::pair<int, double> cases[] = {
        {kVehicleCar, 0.5}, {kVehicleMotorcycle, 0.5}, {kVehicleAircraft, 0.5}};
    for (const auto& [type, ratio] : cases) {
        ObjectRecord r;
        resetObject(r);
        r.vehicleType = type;
        applyTemplate(r);
        for (int i = 0; i < r.effectorCount; ++i) {
            const EffectorRecord& e = r.effectors[static_cast<std::size_t>(i)];
            if (e.kind != kEffectorTire)
                continue;
            MeshPoint c;
            Rotation axes;
            pose(r, i, ratio, c, axes);
            EXPECT_GT(c[2] + e.radius * kMetresPerFootD, lowestPoint(type) + 0.05)
                << type << " " << recordName(e.name);
        }
    }
}

TEST(TemplateMesh, HelicopterStandsOnItsSkids) {
    // With no tires, the helicopter rests on its lowest vertices: they must
    // spread fore and aft of the centre of gravity and to both sides.
    const double lowest = lowestPoint(kVehicleHelicopter);
    double minX = 1e9, maxX = -1e9, minY = 1e9, maxY = -1e9;
    for (const MeshFace& f : templateMeshFaces(kVehicleHelicopter)) {
        for (int k = 0; k < 4; ++k) {
            const MeshPoint p = corner(f, k);
            if (p[2] < lowest - 0.02)
                continue;
            minX = std::min(minX, p[0]);
            maxX = std::max(maxX, p[0]);
            minY = std::min(minY, p[1]);
            maxY = std::max(maxY, p[1]);
        }
    }
    EXPECT_LT(minX, -1.5);
    EXPECT_GT(maxX, 1.5);
    EXPECT_LT(minY, -0.9);
    EXPECT_GT(maxY, 0.9);
}

TEST(TemplateMesh, RotorHubsSitOnTheHelicopter) {
    ObjectRecord r;
    resetObject(r);
    r.vehicleType = kVehicleHelicopter;
    applyTemplate(r);
    for (int hub : {0, 1}) {
        MeshPoint c;
        Rotation axes;
        pose(r, hub, 0.0, c, axes);
        double nearest = 1e9;
        for (const MeshFace& f : templateMeshFaces(kVehicleHelicopter)) {
            for (int k = 0; k < 4; ++k) {
                const MeshPoint p = corner(f, k);
                nearest = std::min(nearest, std::hypot(p[0] - c[0], p[1] - c[1], p[2] - c[2]));
            }
        }
        EXPECT_LT(nearest, 0.15) << hub;
    }
}

} // namespace
} // namespace kv::model
