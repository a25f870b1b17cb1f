#include "views/gl_scene_renderer.h"

#include "app/camera/camera_view_matrix.h"
#include "app/render/render_ladder.h"
#include "app/render/render_light.h"
#include "app/settings/units.h"
#include "export/effector_values.h"
#include "geometry/terrain_grid.h"
#include "model/object_record.h"

#include <GL/gl.h>
#include <GL/glu.h>
#include <algorithm>
#include <cmath>

namespace kv::views {

namespace {

void callList(unsigned list) {
    if (list != 0)
        glCallList(list);
}

/// Loads a light record into light `n` (0-7; other indices are ignored).
void loadLight(int n, const app::LightRecord& record) {
    if (n < 0 || n > 7)
        return;
    const GLenum light = GL_LIGHT0 + static_cast<GLenum>(n);
    const app::LightRecord l = app::effectiveLight(record);
    glLightfv(light, GL_AMBIENT, l.ambient.data());
    glLightfv(light, GL_DIFFUSE, l.diffuse.data());
    glLightfv(light, GL_SPECULAR, l.specular.data());
    glLightfv(light, GL_POSITION, l.position.data());
    glLightfv(light, GL_SPOT_DIRECTION, l.spotDirection.data());
    glLightf(light, GL_SPOT_CUTOFF, l.spotCutoff);
    glLightf(light, GL_SPOT_EXPONENT, l.spotExponent);
    glLightf(light, GL_CONSTANT_ATTENUATION, l.constantAttenuation);
    glLightf(light, GL_LINEAR_ATTENUATION, l.linearAttenuation);
    glLightf(light, GL_QUADRATIC_ATTENUATION, l.quadraticAttenuation);
    glEnable(light);
}

/// Deepest effector chain followed; the tree holds at most this many effectors,
/// so a deeper walk can only be a cycle in a damaged record.
constexpr int kMaxEffectorDepth = model::kMaxEffectors;

} // namespace

GlSceneRenderer::GlSceneRenderer() : manager_(backend_) {}

void GlSceneRenderer::applyFixedState() {
    glClearDepth(1.0);
    glDepthFunc(GL_LEQUAL);
    glEnable(GL_DEPTH_TEST);
    glClearColor(0.0f, 0.2f, 0.0f, 1.0f);
    glEnable(GL_LIGHTING);
    glLightModeli(GL_LIGHT_MODEL_LOCAL_VIEWER, GL_FALSE);
    glLightModeli(GL_LIGHT_MODEL_TWO_SIDE, GL_TRUE);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glEnable(GL_BLEND);
    glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
    glShadeModel(GL_SMOOTH);
    glDisable(GL_FOG);
    glDisable(GL_CULL_FACE);
    glDisable(GL_TEXTURE_2D);
    // Normals of scaled markers must stay unit length for the lighting.
    glEnable(GL_NORMALIZE);
}

void GlSceneRenderer::initialise(float gridSpacing, float gridSize, float fieldOfView,
                                 float viewAspect) {
    applyFixedState();
    freeAllScenery();
    freeTerrain();
    manager_.rebuild(lists_.sky);
    emitSky();
    glEndList();
    manager_.rebuild(lists_.stars);
    emitStars();
    glEndList();
    manager_.rebuild(lists_.skidMarker);
    emitSkidMarker();
    glEndList();
    manager_.rebuild(lists_.axisMarker);
    emitAxisCross();
    glEndList();
    manager_.rebuild(lists_.bladeMarker);
    emitBladeMarker();
    glEndList();
    manager_.rebuild(lists_.tireMarker);
    emitTireMarker();
    glEndList();
    buildGrid(gridSpacing, gridSize);
    compileHeadUpLists();
    buildGuides(fieldOfView, viewAspect);
    // Lit from the start, so that the scene shows before the first run.
    loadLight(0, app::LightRecord{});
}

void GlSceneRenderer::setProjection(int width, int height, float fieldOfView, float viewAspect) {
    if (height <= 0)
        return;
    glViewport(0, 0, width, height);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(fieldOfView / viewAspect, static_cast<double>(width) / height, app::kNearPlane,
                   app::kFarPlane);
    glMatrixMode(GL_MODELVIEW);
}

void GlSceneRenderer::buildGrid(float spacing, float size) {
    manager_.rebuild(lists_.grid);
    emitGrid(app::gridLinePositions(spacing, size), size);
    glEndList();
}

void GlSceneRenderer::buildGuides(float fieldOfView, float viewAspect) {
    const app::ViewGuides g = app::viewGuides(fieldOfView, viewAspect);
    const std::array<const std::vector<app::Segment>*, 4> sets{&g.actionSafe, &g.titleSafe,
                                                               &g.crossLine, &g.hatchLine};
    for (std::size_t i = 0; i < sets.size(); ++i) {
        manager_.rebuild(lists_.guides[i]);
        emitSegments(*sets[i]);
        glEndList();
    }
}

bool GlSceneRenderer::buildTerrain(const geom::TerrainGrid& grid, int stride,
                                   ProgressPort& progress) {
    freeTerrain();
    if (!grid.allocated())
        return false;
    manager_.rebuild(lists_.terrain);
    emitTerrain(grid, stride, progress);
    glEndList();
    return true;
}

void GlSceneRenderer::freeTerrain() {
    manager_.free(lists_.terrain);
}

void GlSceneRenderer::buildScenery(int set, geom::SceneryStore& store,
                                   const app::Material& material, ProgressPort& progress) {
    if (set < 0 || set >= app::kScenerySlots)
        return;
    manager_.rebuild(lists_.scenery[static_cast<std::size_t>(set)]);
    emitScenery(store, set, material, progress);
    glEndList();
}

void GlSceneRenderer::freeScenery(int set) {
    if (set >= 0 && set < app::kScenerySlots)
        manager_.free(lists_.scenery[static_cast<std::size_t>(set)]);
}

void GlSceneRenderer::freeAllScenery() {
    for (int i = 0; i < app::kScenerySlots; ++i)
        freeScenery(i);
}

void GlSceneRenderer::setObjectSlots(int count) {
    const auto n = static_cast<std::size_t>(std::max(0, count));
    for (std::size_t k = n; k < lists_.objects.size(); ++k)
        manager_.free(lists_.objects[k]);
    lists_.objects.resize(n, 0u);
}

bool GlSceneRenderer::buildObject(int k, geom::MeshStore& meshes, const app::Material& material) {
    if (k < 0)
        return false;
    if (static_cast<std::size_t>(k) >= lists_.objects.size())
        lists_.objects.resize(static_cast<std::size_t>(k) + 1, 0u);
    manager_.rebuild(lists_.objects[static_cast<std::size_t>(k)]);
    const bool had = emitObject(meshes, k, material);
    glEndList();
    return had;
}

void GlSceneRenderer::drawEffector(const model::ObjectRecord& record,
                                   const model::MotionFrame& frame, int index, int depth) {
    if (index < 0 || index >= record.effectorCount || index >= model::kMaxEffectors ||
        depth > kMaxEffectorDepth)
        return;
    const model::EffectorRecord& e = record.effectors[static_cast<std::size_t>(index)];
    const std::array<float, 6> v = exp::effectorValues(e, frame);
    constexpr float ft = kMetresPerFoot;
    glPushMatrix();
    glTranslatef(v[0] * ft, v[1] * ft, v[2] * ft);
    glRotatef(v[5], 0.0f, 0.0f, 1.0f);
    glRotatef(v[4], 0.0f, 1.0f, 0.0f);
    glRotatef(v[3], 1.0f, 0.0f, 0.0f);
    glPushMatrix();
    switch (e.kind) {
    case model::kEffectorBasic:
        callList(lists_.axisMarker);
        break;
    case model::kEffectorTire:
        glScalef(e.radius * ft, e.width * ft, e.radius * ft);
        callList(lists_.tireMarker);
        break;
    case model::kEffectorBlade:
        glScalef(e.radius * ft, e.width * ft, 1.0f);
        callList(lists_.bladeMarker);
        break;
    case model::kEffectorSkid:
        glScalef(e.radius * ft, e.radius * ft, e.radius * ft);
        callList(lists_.skidMarker);
        break;
    default:
        break;
    }
    glPopMatrix();
    const int children = std::clamp(e.childCount, 0, model::kMaxChildren);
    for (int c = 0; c < children; ++c)
        drawEffector(record, frame, e.children[static_cast<std::size_t>(c)], depth + 1);
    glPopMatrix();
}

void GlSceneRenderer::drawPathLine(const std::vector<Vec3>& line) {
    if (line.size() < 2)
        return;
    // Unlit and in a colour of its own, over the ground it lies on.
    glDisable(GL_LIGHTING);
    glColor3f(1.0f, 0.55f, 0.0f);
    glLineWidth(3.0f);
    glBegin(GL_LINE_STRIP);
    for (const Vec3& p : line)
        glVertex3f(p[0], p[1], p[2]);
    glEnd();
    glLineWidth(1.0f);
    glEnable(GL_LIGHTING);
}

void GlSceneRenderer::drawPitchLadder(const SceneFrame& f) {
    if (f.objects.empty())
        return;
    const app::Pose& p = f.objects.front().pose;
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_LIGHTING);
    glColor3f(app::kLadderColour[0], app::kLadderColour[1], app::kLadderColour[2]);
    glPushMatrix();
    glTranslatef(p.position[0], p.position[1], p.position[2]);
    glRotatef(p.angles[2], 0.0f, 0.0f, 1.0f);
    for (const app::LadderRung& rung : app::ladderRungs(p.angles[1])) {
        const int shown = (rung.rungList - app::kRungListBase) * 5 - 90;
        glPushMatrix();
        if (rung.turned)
            glRotatef(180.0f, 0.0f, 0.0f, 1.0f);
        glCallList(static_cast<GLuint>(rung.rungList));
        glRotatef(static_cast<float>(shown), 0.0f, 1.0f, 0.0f);
        for (float side : {0.0f, app::kSecondDigitsOffset}) {
            float y = rung.digitY + side;
            for (int list : rung.digitLists) {
                glPushMatrix();
                glTranslatef(0.0f, y, 0.0f);
                glCallList(static_cast<GLuint>(list));
                glPopMatrix();
                y += app::kDigitSpacing;
            }
        }
        glPopMatrix();
    }
    glRotatef(p.angles[1], 0.0f, 1.0f, 0.0f);
    glCallList(app::kNoseSymbolList);
    glRotatef(p.angles[0], 1.0f, 0.0f, 0.0f);
    if (f.flightPathMarker) {
        glRotatef(-f.alpha, 0.0f, 1.0f, 0.0f);
        glRotatef(f.beta, 0.0f, 0.0f, 1.0f);
        glCallList(app::kFlightPathMarkerList);
    }
    glPopMatrix();
    glEnable(GL_LIGHTING);
    glEnable(GL_DEPTH_TEST);
}

void GlSceneRenderer::draw(const SceneFrame& f) {
    applyFixedState();
    const Vec3& cam = f.camera.position;
    const Vec3& ang = f.camera.angles;
    for (app::DrawStep step : f.plan.steps) {
        switch (step) {
        case app::DrawStep::LoadLight:
            if (f.loadLight)
                loadLight(0, app::LightRecord{});
            break;
        case app::DrawStep::ClearAndBase:
            glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
            glMatrixMode(GL_MODELVIEW);
            glLoadMatrixf(app::kBaseModelview.data());
            break;
        case app::DrawStep::ViewGuides:
            glPushMatrix();
            glLoadIdentity();
            for (std::size_t i = 0; i < f.guides.size(); ++i)
                if (f.guides[i])
                    callList(lists_.guides[i]);
            glPopMatrix();
            break;
        case app::DrawStep::CameraRotation:
            glRotatef(-ang[0], 1.0f, 0.0f, 0.0f);
            glRotatef(-ang[1], 0.0f, 1.0f, 0.0f);
            glRotatef(-ang[2], 0.0f, 0.0f, 1.0f);
            break;
        case app::DrawStep::SkyAndStars:
            glPushMatrix();
            glRotatef(45.0f, 0.0f, 0.0f, 1.0f);
            callList(lists_.sky);
            callList(lists_.stars);
            glPopMatrix();
            break;
        case app::DrawStep::CameraTranslation:
            glTranslatef(-cam[0], -cam[1], -cam[2]);
            break;
        case app::DrawStep::SunLight: {
            const auto sun = app::sunLightPosition(f.sunAngle);
            glLightfv(GL_LIGHT0, GL_POSITION, sun.data());
            break;
        }
        case app::DrawStep::TerrainOrGrid:
            if (f.plan.drawTerrain) {
                callList(lists_.terrain);
            } else if (f.plan.drawGrid) {
                glPushMatrix();
                if (f.gridCentring && f.followed >= 0 &&
                    f.followed < static_cast<int>(f.objects.size())) {
                    const Vec3 c = app::gridCentre(
                        f.objects[static_cast<std::size_t>(f.followed)].pose.position,
                        f.gridSpacing);
                    glTranslatef(c[0], c[1], c[2]);
                }
                callList(lists_.grid);
                glPopMatrix();
            }
            drawPathLine(f.pathLine);
            break;
        case app::DrawStep::Objects:
            for (int k : f.plan.objects) {
                if (k < 0 || k >= static_cast<int>(f.objects.size()))
                    continue;
                const ObjectDrawState& o = f.objects[static_cast<std::size_t>(k)];
                glPushMatrix();
                glTranslatef(o.pose.position[0], o.pose.position[1], o.pose.position[2]);
                glRotatef(o.pose.angles[2], 0.0f, 0.0f, 1.0f);
                glRotatef(o.pose.angles[1], 0.0f, 1.0f, 0.0f);
                glRotatef(o.pose.angles[0], 1.0f, 0.0f, 0.0f);
                if (o.record != nullptr)
                    for (int e = 0; e < o.record->effectorCount && e < model::kMaxEffectors; ++e)
                        if (o.record->effectors[static_cast<std::size_t>(e)].parent == -1)
                            drawEffector(*o.record, o.frame, e, 0);
                if (static_cast<std::size_t>(k) < lists_.objects.size())
                    callList(lists_.objects[static_cast<std::size_t>(k)]);
                glPopMatrix();
            }
            break;
        case app::DrawStep::Scenery:
            for (int i = 0; i < f.plan.sceneryLists && i < app::kScenerySlots; ++i)
                callList(lists_.scenery[static_cast<std::size_t>(i)]);
            break;
        case app::DrawStep::PitchLadder:
            drawPitchLadder(f);
            break;
        case app::DrawStep::Swap:
            glFlush();
            break;
        default:
            // Layout check, keys, object refresh, camera update and the overlay
            // are done by the view and the core around the draw.
            break;
        }
    }
}

} // namespace kv::views
