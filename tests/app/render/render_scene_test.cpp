#include "app/camera/camera_state.h"
#include "app/render/render_frame.h"
#include "app/render/render_geometry.h"
#include "app/render/render_ladder.h"
#include "app/render/render_light.h"
#include "app/render/render_lists.h"

#include <algorithm>
#include <cmath>
#include <gtest/gtest.h>
#include <vector>

namespace kv::app {
namespace {

TEST(RenderLight, TransparencyChangesOnlyAmbientAndDiffuseAlpha) {
    for (int colour : {0, 7, 19}) {
        const Material solid = objectMaterial(colour, kSolid);
        for (auto [mode, alpha] : {std::pair{kSmoky, 0.5f}, std::pair{kClear, 0.25f}}) {
            Material m = objectMaterial(colour, mode);
            EXPECT_EQ(m.ambient[3], alpha);
            EXPECT_EQ(m.diffuse[3], alpha);
            EXPECT_EQ(m.specular, solid.specular);
            EXPECT_EQ(m.emission, solid.emission);
            m.ambient[3] = m.diffuse[3] = 1.0f;
            EXPECT_EQ(m.ambient, solid.ambient);
            EXPECT_EQ(m.diffuse, solid.diffuse);
        }
    }
    const Material gold = objectMaterial(7, kSolid);
    EXPECT_EQ(gold.specular, (std::array<float, 4>{1.0f, 0.6f, 0.0f, 1.0f}));
    EXPECT_EQ(gold.shininess, 25.0f);
    EXPECT_EQ(objectMaterial(3, kSolid).specular[0], 0.2f);
    EXPECT_EQ(objectMaterial(99, kSolid).ambient, objectMaterial(18, kSolid).ambient);
}

TEST(RenderLight, SunPositionAndPlainLightDefaults) {
    const auto p = sunLightPosition(kSunStartAngle);
    EXPECT_NEAR(p[1], 20000.0f * std::cos(100.0f * 3.14159265f / 180.0f), 0.01f);
    EXPECT_NEAR(p[2], -20000.0f * std::sin(100.0f * 3.14159265f / 180.0f), 0.01f);
    EXPECT_EQ(p[3], 1.0f);
    LightRecord r;
    r.spotCutoff = 30.0f;
    r.linearAttenuation = 0.5f;
    EXPECT_EQ(effectiveLight(r).spotCutoff, 180.0f);
    EXPECT_EQ(effectiveLight(r).linearAttenuation, 0.0f);
    r.spot = true;
    EXPECT_EQ(effectiveLight(r).spotCutoff, 30.0f);
}

TEST(RenderLadder, RungsAroundThePitchWithReflectionPastNinety) {
    auto rungs = ladderRungs(12.4f); // nearest step 10 deg
    EXPECT_EQ(rungs[0].angle, 5);
    EXPECT_EQ(rungs[1].angle, 10);
    EXPECT_EQ(rungs[2].angle, 15);
    EXPECT_EQ(rungs[1].rungList, kRungListBase + 20);
    EXPECT_EQ(rungs[0].digitLists, (std::vector<int>{4005}));
    EXPECT_EQ(rungs[0].digitY, kOneDigitY);
    EXPECT_EQ(rungs[1].digitLists, (std::vector<int>{4001, 4000}));
    EXPECT_EQ(rungs[1].digitY, kTwoDigitY);

    rungs = ladderRungs(89.0f);
    EXPECT_EQ(rungs[2].angle, 95);
    EXPECT_TRUE(rungs[2].turned);
    EXPECT_EQ(rungs[2].rungList, kRungListBase + 35); // drawn as 85
    EXPECT_EQ(rungs[2].digitLists, (std::vector<int>{4008, 4005}));
    EXPECT_FALSE(rungs[1].turned);
    EXPECT_EQ(rungs[1].rungList, kRungListLast);

    rungs = ladderRungs(-90.0f);
    EXPECT_EQ(rungs[0].angle, -95);
    EXPECT_EQ(rungs[0].rungList, kRungListBase + 1); // -85
    EXPECT_EQ(rungs[1].rungList, kRungListBase);
    for (float pitch : {-2.4f, 2.4f, -2.6f, std::nanf("")})
        for (const LadderRung& r : ladderRungs(pitch)) {
            EXPECT_GE(r.rungList, kRungListBase);
            EXPECT_LE(r.rungList, kRungListLast);
        }
    EXPECT_EQ(ladderStep(-2.6f), -1);
    EXPECT_EQ(ladderStep(2.4f), 0);
}

TEST(RenderLadder, FlightPathMarkerSmoothsAndHidesOutsideItsWindow) {
    FlightPathMarker m;
    EXPECT_TRUE(m.update(20.0f, 0.0f));
    EXPECT_NEAR(m.alpha, 2.0f, 1e-6f);
    for (int i = 0; i < 50; ++i)
        m.update(20.0f, 0.0f);
    EXPECT_FALSE(m.update(20.0f, 0.0f));
    FlightPathMarker side;
    for (int i = 0; i < 50; ++i)
        side.update(0.0f, -10.0f);
    EXPECT_FALSE(side.update(0.0f, -10.0f));
}

TEST(RenderGeometry, GridLinesRunFromMinusSizeWhileWithinSize) {
    EXPECT_EQ(gridLinePositions(50.0f, 100.0f), (std::vector<float>{-100, -50, 0, 50, 100}));
    EXPECT_EQ(gridLinePositions(50.0f, 20.0f), (std::vector<float>{-20}));
    EXPECT_TRUE(gridLinePositions(0.0f, 100.0f).empty());
    EXPECT_TRUE(gridLinePositions(-1.0f, 100.0f).empty());
    EXPECT_TRUE(gridLinePositions(1e-6f, 1000.0f).empty());
    const Vec3 c = gridCentre({-120.0f, 75.0f, -3.0f}, 50.0f);
    EXPECT_EQ(c, (Vec3{-150.0f, 50.0f, 0.0f}));
}

TEST(RenderGeometry, TerrainStrideAndProgress) {
    EXPECT_EQ(terrainStrideIndices(10, 3), (std::vector<int>{0, 3, 6, 9}));
    EXPECT_EQ(terrainStrideIndices(4, 0), (std::vector<int>{0, 1, 2, 3}));
    EXPECT_TRUE(terrainStrideIndices(0, 2).empty());
    EXPECT_DOUBLE_EQ(terrainProgressFirstPass(3, 4, 10, 20), 64.0 / 400.0);
    EXPECT_DOUBLE_EQ(terrainProgressSecondPass(3, 4, 10, 20), 243.0 / 400.0);
    EXPECT_LT(terrainProgressSecondPass(9, 19, 10, 20), 1.0);
}

TEST(RenderGeometry, ViewGuidesScaleWithFieldOfViewAndAspect) {
    const ViewGuides g = viewGuides(90.0f, 2.0f);
    const float w = 0.505f;
    EXPECT_EQ(g.actionSafe.size(), 4u);
    EXPECT_NEAR(g.actionSafe[1].a[0], 0.9f * w, 1e-5f);
    EXPECT_NEAR(g.actionSafe[1].b[1], 0.9f * w / 2.0f, 1e-5f);
    EXPECT_NEAR(g.titleSafe[0].b[0], 0.8f * w, 1e-5f);
    EXPECT_NEAR(g.crossLine[0].b[0], 0.25f * w, 1e-5f);
    EXPECT_NEAR(g.crossLine[1].b[1], 0.25f * w / 2.0f, 1e-5f);
    EXPECT_EQ(g.hatchLine.size(), 2u);
    EXPECT_NEAR(g.hatchLine[0].a[1], w / 2.0f, 1e-5f);
    EXPECT_EQ(g.hatchLine[0].a[2], -0.505f);
}

TEST(RenderFrame, DrawOrderAndWhatIsDrawn) {
    FramePlanInput in;
    in.objectCount = 3;
    in.firstFrame = true;
    in.sceneryCount = 2;
    FramePlan p = planFrame(in);
    const std::vector<DrawStep> order{
        DrawStep::LoadLight,      DrawStep::ConsumeKey,    DrawStep::RefreshObjects,
        DrawStep::UpdateCamera,   DrawStep::ClearAndBase,  DrawStep::ViewGuides,
        DrawStep::CameraRotation, DrawStep::SkyAndStars,   DrawStep::CameraTranslation,
        DrawStep::SunLight,       DrawStep::TerrainOrGrid, DrawStep::Objects,
        DrawStep::Scenery,        DrawStep::Swap,          DrawStep::StatusOverlay};
    EXPECT_EQ(p.steps, order);
    EXPECT_TRUE(p.drawGrid);
    EXPECT_EQ(p.objects, (std::vector<int>{0, 1, 2}));
    EXPECT_EQ(p.sceneryLists, 2);

    // Terrain takes the grid's place; with grid off neither is drawn.
    in.terrainLoaded = true;
    EXPECT_TRUE(planFrame(in).drawTerrain);
    EXPECT_FALSE(planFrame(in).drawGrid);
    in.gridOn = false;
    EXPECT_FALSE(planFrame(in).drawTerrain);
    in.terrainLoaded = false;
    p = planFrame(in);
    EXPECT_FALSE(p.drawGrid);
    EXPECT_EQ(std::count(p.steps.begin(), p.steps.end(), DrawStep::TerrainOrGrid), 0);

    // Observing: object 0 is not drawn.
    in.observing = true;
    EXPECT_EQ(planFrame(in).objects, (std::vector<int>{1, 2}));
}

TEST(RenderFrame, CockpitHidesTheFollowedObjectAndLaddersOnlyFlyingSlotZero) {
    FramePlanInput in;
    in.objectCount = 3;
    in.cameraMode = kModeCockpit;
    in.followed = 0;
    in.objectZeroFlies = true;
    FramePlan p = planFrame(in);
    EXPECT_EQ(p.objects, (std::vector<int>{1, 2}));
    EXPECT_TRUE(p.pitchLadder);
    in.objectZeroFlies = false;
    EXPECT_FALSE(planFrame(in).pitchLadder);
    in.objectZeroFlies = true;
    in.followed = 1;
    p = planFrame(in);
    EXPECT_EQ(p.objects, (std::vector<int>{0, 2}));
    EXPECT_FALSE(p.pitchLadder);
    in.cameraMode = kModeChase;
    in.followed = 0;
    p = planFrame(in);
    EXPECT_EQ(p.objects, (std::vector<int>{0, 1, 2}));
    EXPECT_FALSE(p.pitchLadder);
}

struct CountingBackend : ListBackend {
    unsigned next = 1;
    std::vector<unsigned> deleted;
    unsigned generateAndOpen() override { return next++; }
    void deleteList(unsigned name) override { deleted.push_back(name); }
};

TEST(RenderLists, RebuildFreesTheOldListFirstAndFreeingUnlinks) {
    CountingBackend backend;
    DisplayListManager manager(backend);
    SceneLists lists;
    lists.objects.resize(3);
    manager.rebuild(lists.terrain);
    manager.rebuild(lists.scenery[2]);
    for (unsigned& o : lists.objects)
        manager.rebuild(o);
    EXPECT_EQ(manager.chain(), (std::list<unsigned>{1, 2, 3, 4, 5}));
    manager.rebuild(lists.terrain);
    EXPECT_EQ(backend.deleted, (std::vector<unsigned>{1}));
    EXPECT_EQ(lists.terrain, 6u);
    EXPECT_EQ(manager.chain(), (std::list<unsigned>{2, 3, 4, 5, 6}));
    manager.free(lists.scenery[0]); // never built: nothing happens
    EXPECT_EQ(backend.deleted.size(), 1u);
    removeObjectList(manager, lists, 1);
    EXPECT_EQ(lists.objects, (std::vector<unsigned>{3, 5}));
    EXPECT_EQ(backend.deleted.back(), 4u);
    manager.freeAll();
    EXPECT_TRUE(manager.chain().empty());
    EXPECT_EQ(backend.deleted.size(), 6u);
}

} // namespace
} // namespace kv::app
