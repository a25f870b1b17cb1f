#include "views/gl_display_lists.h"

#include "app/render/render_ladder.h"
#include "app/settings/units.h"
#include "common/unit_constants.h"
#include "geometry/mesh_store.h"
#include "geometry/scenery.h"
#include "geometry/terrain_grid.h"

#include <GL/gl.h>
#include <array>
#include <cmath>
#include <cstdint>

namespace kv::views {

namespace {

/// Colour of the camera guides (RGB).
constexpr std::array<float, 3> kGuideColour{1.0f, 1.0f, 0.55f};

void normal(float x, float y, float z) {
    glNormal3f(x, y, z);
}

void vertex(const Vec3& p) {
    glVertex3f(p[0], p[1], p[2]);
}

/// A quadrilateral as two triangles, each corner with its own normal.
void quad(const std::array<Vec3, 4>& p, const std::array<Vec3, 4>& n) {
    constexpr std::array<int, 6> order{0, 1, 2, 0, 2, 3};
    for (int i : order) {
        const auto k = static_cast<std::size_t>(i);
        normal(n[k][0], n[k][1], n[k][2]);
        vertex(p[k]);
    }
}

/// Segments of the seven-segment digits on the plane x = 1750 (y right, z down):
/// a top, b upper right, c lower right, d bottom, e lower left, f upper left, g middle.
constexpr float kHudPlane = 1750.0f;
struct Stroke {
    float y0, z0, y1, z1;
};
constexpr std::array<Stroke, 7> kSegments{{
    {0, -8, 8, -8}, // a
    {8, -8, 8, -4}, // b
    {8, -4, 8, 0},  // c
    {0, 0, 8, 0},   // d
    {0, 0, 0, -4},  // e
    {0, -4, 0, -8}, // f
    {0, -4, 8, -4}, // g
}};
/// Bit k lights segment k (a = bit 0).
constexpr std::array<std::uint8_t, 10> kDigitSegments{0x3F, 0x06, 0x5B, 0x4F, 0x66,
                                                      0x6D, 0x7D, 0x07, 0x7F, 0x6F};

void hudLine(float y0, float z0, float y1, float z1) {
    glVertex3f(kHudPlane, y0, z0);
    glVertex3f(kHudPlane, y1, z1);
}

void compileDigit(unsigned list, std::uint8_t segments) {
    glNewList(list, GL_COMPILE);
    glBegin(GL_LINES);
    for (std::size_t s = 0; s < kSegments.size(); ++s) {
        if (segments & (1u << s)) {
            const Stroke& k = kSegments[s];
            hudLine(k.y0, k.z0, k.y1, k.z1);
        }
    }
    glEnd();
    glEndList();
}

/// Pitch-ladder bar geometry on the HUD plane (scene units).
constexpr float kBarInner = 20.58f;
constexpr float kBarOuter = 51.47f;
constexpr float kTick = 8.75f;

/// One rung at `angle` deg: the two bars turned up by the angle about y, with
/// end ticks toward the horizon; below the horizon the bars are dashed.
void compileRung(unsigned list, int angle) {
    glNewList(list, GL_COMPILE);
    glPushMatrix();
    glRotatef(static_cast<float>(angle), 0.0f, 1.0f, 0.0f);
    glBegin(GL_LINES);
    const float tick = angle > 0 ? kTick : -kTick;
    for (float side : {-1.0f, 1.0f}) {
        if (angle >= 0) {
            hudLine(side * kBarInner, 0.0f, side * kBarOuter, 0.0f);
        } else {
            constexpr int kDashes = 3;
            const float step = (kBarOuter - kBarInner) / (2 * kDashes - 1);
            for (int d = 0; d < kDashes; ++d) {
                const float a = kBarInner + 2.0f * static_cast<float>(d) * step;
                hudLine(side * a, 0.0f, side * (a + step), 0.0f);
            }
        }
        if (angle != 0)
            hudLine(side * kBarInner, 0.0f, side * kBarInner, tick);
    }
    glEnd();
    glPopMatrix();
    glEndList();
}

} // namespace

unsigned GlListBackend::generateAndOpen() {
    const GLuint name = glGenLists(1);
    glNewList(name, GL_COMPILE);
    return name;
}

void GlListBackend::deleteList(unsigned name) {
    glDeleteLists(name, 1);
}

void applyMaterial(const app::Material& m) {
    glMaterialfv(GL_FRONT_AND_BACK, GL_AMBIENT, m.ambient.data());
    glMaterialfv(GL_FRONT_AND_BACK, GL_DIFFUSE, m.diffuse.data());
    glMaterialfv(GL_FRONT_AND_BACK, GL_SPECULAR, m.specular.data());
    glMaterialf(GL_FRONT_AND_BACK, GL_SHININESS, m.shininess);
    glMaterialfv(GL_FRONT_AND_BACK, GL_EMISSION, m.emission.data());
}

void emitSky() {
    glDisable(GL_LIGHTING);
    glBegin(GL_TRIANGLE_FAN);
    glColor3f(0.2f, 0.2f, 0.45f);
    glVertex3f(0.0f, 0.0f, -20000.0f);
    glColor3f(0.1f, 0.1f, 0.3f);
    glVertex3f(20000.0f, -20000.0f, 0.0f);
    glColor3f(0.2f, 0.2f, 0.65f);
    glVertex3f(20000.0f, 20000.0f, 0.0f);
    glColor3f(0.3f, 0.2f, 0.55f);
    glVertex3f(-20000.0f, 20000.0f, 0.0f);
    glColor3f(0.3f, 0.2f, 0.55f);
    glVertex3f(-20000.0f, -20000.0f, 0.0f);
    glColor3f(0.1f, 0.1f, 0.3f);
    glVertex3f(20000.0f, -20000.0f, 0.0f);
    glEnd();
    glEnable(GL_LIGHTING);
}

void emitStars() {
    // A fixed table drawn from a small congruential generator, so that every
    // run shows the same sky: 400 stars 5000 units away, all above the
    // horizon (the ground below it is the clear colour, and stars there would
    // shine through it).
    constexpr int kStars = 400;
    constexpr float kDistance = 5000.0f;
    std::uint32_t seed = 12345u;
    auto next = [&seed] {
        seed = seed * 1664525u + 1013904223u;
        return static_cast<float>(seed >> 8) / static_cast<float>(1u << 24);
    };
    glDisable(GL_LIGHTING);
    glColor3f(1.0f, 1.0f, 1.0f);
    glBegin(GL_POINTS);
    for (int i = 0; i < kStars; ++i) {
        const float az = kTwoPi * next();
        const float u = next();
        // Sine of the elevation, from 1 degree up to the zenith.
        const float s = 0.0175f + 0.9825f * u;
        const float c = std::sqrt(std::max(0.0f, 1.0f - s * s));
        glVertex3f(kDistance * c * std::cos(az), kDistance * c * std::sin(az), -kDistance * s);
    }
    glEnd();
    glEnable(GL_LIGHTING);
}

void emitAxisCross() {
    glDisable(GL_LIGHTING);
    glColor3f(1.0f, 1.0f, 1.0f);
    glBegin(GL_LINES);
    glVertex3f(-0.1f, 0.0f, 0.0f);
    glVertex3f(0.1f, 0.0f, 0.0f);
    glVertex3f(0.0f, -0.1f, 0.0f);
    glVertex3f(0.0f, 0.1f, 0.0f);
    glVertex3f(0.0f, 0.0f, -0.1f);
    glVertex3f(0.0f, 0.0f, 0.1f);
    glEnd();
    glEnable(GL_LIGHTING);
}

void emitTireMarker() {
    // A wheel of radius 1 and width 1 turning about y: 19 tread and 19
    // shoulder faces in rubber, then an 11-sided hub on each side in Gray.
    constexpr int kSides = 19;
    constexpr float kShoulder = 0.8f; ///< inner radius of the sidewall
    constexpr float kHalfWidth = 0.5f;
    applyMaterial(app::tireRubberMaterial());
    glBegin(GL_TRIANGLES);
    for (int i = 0; i < kSides; ++i) {
        const float a0 = kTwoPi * static_cast<float>(i) / kSides;
        const float a1 = kTwoPi * static_cast<float>(i + 1) / kSides;
        const Vec3 r0{std::cos(a0), 0.0f, std::sin(a0)};
        const Vec3 r1{std::cos(a1), 0.0f, std::sin(a1)};
        quad({Vec3{r0[0], -kHalfWidth, r0[2]}, Vec3{r1[0], -kHalfWidth, r1[2]},
              Vec3{r1[0], kHalfWidth, r1[2]}, Vec3{r0[0], kHalfWidth, r0[2]}},
             {r0, r1, r1, r0});
    }
    for (int i = 0; i < kSides; ++i) {
        const float a0 = kTwoPi * static_cast<float>(i) / kSides;
        const float a1 = kTwoPi * static_cast<float>(i + 1) / kSides;
        // Both shoulders of segment i make up its one sidewall face pair.
        for (float side : {-1.0f, 1.0f}) {
            const float y = side * kHalfWidth;
            const Vec3 n{0.0f, side, 0.0f};
            quad({Vec3{std::cos(a0), y, std::sin(a0)}, Vec3{std::cos(a1), y, std::sin(a1)},
                  Vec3{kShoulder * std::cos(a1), y, kShoulder * std::sin(a1)},
                  Vec3{kShoulder * std::cos(a0), y, kShoulder * std::sin(a0)}},
                 {n, n, n, n});
        }
    }
    glEnd();
    applyMaterial(app::objectMaterial(18, app::kSolid));
    constexpr int kHubSides = 11;
    glBegin(GL_TRIANGLES);
    for (float side : {-1.0f, 1.0f}) {
        const float y = side * kHalfWidth;
        const Vec3 n{0.0f, side, 0.0f};
        for (int i = 0; i < kHubSides; ++i) {
            const float a0 = kTwoPi * static_cast<float>(i) / kHubSides;
            const float a1 = kTwoPi * static_cast<float>(i + 1) / kHubSides;
            quad({Vec3{0.0f, y, 0.0f}, Vec3{kShoulder * std::cos(a0), y, kShoulder * std::sin(a0)},
                  Vec3{kShoulder * std::cos(a1), y, kShoulder * std::sin(a1)}, Vec3{0.0f, y, 0.0f}},
                 {n, n, n, n});
        }
    }
    glEnd();
}

void emitBladeMarker() {
    // A unit blade along x from the hub, chord along y, flat-shaded.
    applyMaterial(app::objectMaterial(17, app::kSolid));
    glBegin(GL_TRIANGLES);
    glNormal3f(0.0f, 0.0f, -1.0f);
    glVertex3f(0.0f, -0.5f, 0.0f);
    glVertex3f(1.0f, -0.5f, 0.0f);
    glVertex3f(1.0f, 0.5f, 0.0f);
    glNormal3f(0.0f, 0.0f, -1.0f);
    glVertex3f(0.0f, -0.5f, 0.0f);
    glVertex3f(1.0f, 0.5f, 0.0f);
    glVertex3f(0.0f, 0.5f, 0.0f);
    glEnd();
}

void emitSkidMarker() {
    // A unit skid runner along x whose front end curls up: 11 sections, a
    // top and a bottom face each.
    constexpr int kSections = 11;
    constexpr float kHalfWidth = 0.08f;
    auto centre = [](float t) {
        // Straight from -1 to 0.6, then a quarter turn of radius 0.4 upward.
        if (t <= 0.8f)
            return Vec3{-1.0f + 2.0f * t, 0.0f, 0.0f};
        const float a = (t - 0.8f) / 0.2f * kHalfPi;
        return Vec3{0.6f + 0.4f * std::sin(a), 0.0f, -0.4f * (1.0f - std::cos(a))};
    };
    applyMaterial(app::objectMaterial(18, app::kSolid));
    glBegin(GL_TRIANGLES);
    for (int i = 0; i < kSections; ++i) {
        const Vec3 p0 = centre(static_cast<float>(i) / kSections);
        const Vec3 p1 = centre(static_cast<float>(i + 1) / kSections);
        const float dx = p1[0] - p0[0];
        const float dz = p1[2] - p0[2];
        const float len = std::sqrt(dx * dx + dz * dz);
        const Vec3 up{len > 0.0f ? dz / len : 0.0f, 0.0f, len > 0.0f ? -dx / len : -1.0f};
        const Vec3 down{-up[0], 0.0f, -up[2]};
        const std::array<Vec3, 4> p{Vec3{p0[0], -kHalfWidth, p0[2]},
                                    Vec3{p1[0], -kHalfWidth, p1[2]}, Vec3{p1[0], kHalfWidth, p1[2]},
                                    Vec3{p0[0], kHalfWidth, p0[2]}};
        quad(p, {up, up, up, up});
        quad(p, {down, down, down, down});
    }
    glEnd();
}

void emitGrid(const std::vector<float>& positions, float size) {
    glDisable(GL_LIGHTING);
    glColor3f(0.0f, 0.6f, 0.0f);
    glBegin(GL_LINES);
    for (float a : positions) {
        glVertex3f(-size, a, 0.0f);
        glVertex3f(size, a, 0.0f);
        glVertex3f(a, -size, 0.0f);
        glVertex3f(a, size, 0.0f);
    }
    glEnd();
    glEnable(GL_LIGHTING);
}

void emitSegments(const std::vector<app::Segment>& segments) {
    glDisable(GL_LIGHTING);
    glColor3f(kGuideColour[0], kGuideColour[1], kGuideColour[2]);
    glBegin(GL_LINES);
    for (const app::Segment& s : segments) {
        vertex(s.a);
        vertex(s.b);
    }
    glEnd();
    glEnable(GL_LIGHTING);
}

void emitTerrain(const geom::TerrainGrid& grid, int stride, ProgressPort& progress) {
    progress.start("Building Terrain:");
    glDisable(GL_LIGHTING);
    glColor3f(0.0f, 0.6f, 0.0f);
    const int n = grid.n;
    const std::vector<int> rows = app::terrainStrideIndices(n, stride);
    auto point = [&](int i, int j) {
        glVertex3f(static_cast<float>(grid.gridX[static_cast<std::size_t>(i)]) * kMetresPerFoot,
                   static_cast<float>(grid.gridY[static_cast<std::size_t>(j)]) * kMetresPerFoot,
                   static_cast<float>(grid.height(i, j)) * kMetresPerFoot);
    };
    for (int i : rows) {
        glBegin(GL_LINE_STRIP);
        for (int j : rows) {
            point(i, j);
            progress.update(app::terrainProgressFirstPass(i, j, n, n));
        }
        glEnd();
    }
    for (int j : rows) {
        glBegin(GL_LINE_STRIP);
        for (int i : rows) {
            point(i, j);
            progress.update(app::terrainProgressSecondPass(i, j, n, n));
        }
        glEnd();
    }
    progress.finish();
    glEnable(GL_LIGHTING);
}

void emitScenery(geom::SceneryStore& store, int set, const app::Material& material,
                 ProgressPort& progress) {
    applyMaterial(material);
    progress.start("Building Scenery:");
    progress.update(0.0);
    geom::Triangle<float> t{};
    std::int32_t count = 0;
    int done = 0;
    while (store.readSceneryTriangle(set, t, count) == geom::StreamRead::Triangle) {
        const Vec3 p0{t[0][0], t[0][1], t[0][2]};
        const Vec3 p1{t[1][0], t[1][1], t[1][2]};
        const Vec3 p2{t[2][0], t[2][1], t[2][2]};
        const Vec3 nrm = geom::faceNormal(p0, p1, p2);
        glBegin(GL_POLYGON);
        glNormal3f(nrm[0], nrm[1], nrm[2]);
        vertex(p0);
        vertex(p1);
        vertex(p2);
        glEnd();
        ++done;
        if (count > 0)
            progress.update(static_cast<double>(done) / count);
    }
    progress.update(1.0);
    progress.finish();
}

bool emitObject(geom::MeshStore& meshes, int slot, const app::Material& material) {
    applyMaterial(material);
    if (!meshes.hasStore() || slot < 0 || slot >= meshes.slotCount() ||
        meshes.triangleCount(slot) <= 0)
        return false;
    geom::MeshTriangle t;
    glBegin(GL_TRIANGLES);
    for (bool more = meshes.nextTriangle(true, slot, t); more;
         more = meshes.nextTriangle(false, slot, t)) {
        for (std::size_t c = 0; c < 3; ++c) {
            glNormal3f(t.normals[c][0], t.normals[c][1], t.normals[c][2]);
            vertex(t.corners[c]);
        }
    }
    glEnd();
    return true;
}

void compileHeadUpLists() {
    for (int d = 0; d < 10; ++d)
        compileDigit(static_cast<unsigned>(app::kDigitListBase + d),
                     kDigitSegments[static_cast<std::size_t>(d)]);
    compileDigit(app::kSeparatorList, 0x40);
    for (int list = app::kRungListBase; list <= app::kRungListLast; ++list)
        compileRung(static_cast<unsigned>(list), -90 + 5 * (list - app::kRungListBase));

    // 3001: the horizon line across the view.
    glNewList(3001, GL_COMPILE);
    glBegin(GL_LINES);
    hudLine(-200.0f, 0.0f, 200.0f, 0.0f);
    glEnd();
    glEndList();

    // 3002: the flight-path marker, a ring with two wings and a fin.
    glNewList(app::kFlightPathMarkerList, GL_COMPILE);
    glBegin(GL_LINE_LOOP);
    constexpr int kRing = 12;
    constexpr float kRadius = 5.0f;
    for (int i = 0; i < kRing; ++i) {
        const float a = kTwoPi * static_cast<float>(i) / kRing;
        glVertex3f(kHudPlane, kRadius * std::cos(a), kRadius * std::sin(a));
    }
    glEnd();
    glBegin(GL_LINES);
    hudLine(-kRadius, 0.0f, -3.0f * kRadius, 0.0f);
    hudLine(kRadius, 0.0f, 3.0f * kRadius, 0.0f);
    hudLine(0.0f, -kRadius, 0.0f, -2.0f * kRadius);
    glEnd();
    glEndList();

    // 3003: the nose reference, a flat "W" on the body's x axis.
    glNewList(app::kNoseSymbolList, GL_COMPILE);
    glBegin(GL_LINE_STRIP);
    hudLine(-16.0f, 0.0f, -8.0f, 0.0f);
    hudLine(-8.0f, 0.0f, -4.0f, 5.0f);
    hudLine(-4.0f, 5.0f, 0.0f, 0.0f);
    hudLine(0.0f, 0.0f, 4.0f, 5.0f);
    hudLine(4.0f, 5.0f, 8.0f, 0.0f);
    hudLine(8.0f, 0.0f, 16.0f, 0.0f);
    glEnd();
    glEndList();
}

} // namespace kv::views
