// The project window's items, labels and buttons on a document with fake ports.
#include "app/document/document.h"
#include "app/document/project_test_support.h"
#include "app/project_tree/project_actions.h"
#include "app/project_tree/project_items.h"
#include "support/document_ports.h"
#include "support/file_test_support.h"

#include <cmath>
#include <gtest/gtest.h>

namespace kv::app {
namespace {

using filetest::ScratchDir;
using test::DocumentRig;

/// A project with the simulated car, a dynamic object, an interactive one, a
/// static one, two scenery sets and a terrain.
struct FullProject {
    FullProject() {
        Document& doc = *rig.doc;
        const auto& d = dir.path();
        EXPECT_TRUE(
            doc.addMotionObject(model::kRoleDynamic, projecttest::writeMotion(d / "ghost.kvm", 4)));
        EXPECT_TRUE(doc.addMotionObject(model::kRoleInteractive,
                                        projecttest::writeMotion(d / "rival.kvm", 4)));
        EXPECT_TRUE(doc.addScenery(DxfImport{projecttest::writeDxf(d / "barn.dxf", 2)}));
        EXPECT_TRUE(doc.addScenery(DxfImport{projecttest::writeDxf(d / "silo.dxf", 3)}));
        EXPECT_TRUE(doc.addTerrain(DxfImport{projecttest::writeDxf(d / "hills.dxf", 4)}));
    }
    DocumentRig rig;
    ScratchDir dir;
};

std::vector<std::string> labels(const std::vector<ProjectItem>& items) {
    std::vector<std::string> out;
    for (const ProjectItem& i : items)
        out.push_back(i.label);
    return out;
}

TEST(ProjectItems, ObjectsThenSceneryThenTerrainWithTheFollowedObjectStarred) {
    FullProject p;
    Document& doc = *p.rig.doc;
    const std::string car = doc.object(0).name.data();
    auto items = projectItems(doc, 2);
    ASSERT_EQ(items.size(), 6u);
    EXPECT_EQ(labels(items), (std::vector<std::string>{car, "ghost", "rival *", "barn.dxf",
                                                       "silo.dxf", "hills.dxf"}));
    const ProjectItemKind kinds[] = {kItemSimulatedObject,   kItemDynamicObject,
                                     kItemInteractiveObject, kItemScenery,
                                     kItemScenery,           kItemTerrain};
    const int indices[] = {0, 1, 2, 0, 1, 0};
    for (std::size_t i = 0; i < items.size(); ++i) {
        EXPECT_EQ(items[i].kind, kinds[i]) << i;
        EXPECT_EQ(items[i].index, indices[i]) << i;
    }
    // Only the followed object carries the star.
    items = projectItems(doc, 0);
    EXPECT_EQ(items[0].label, car + " *");
    EXPECT_EQ(items[2].label, "rival");
    EXPECT_EQ(projectWindowTitle(doc), "Project");
}

TEST(ProjectItems, DeletingTheSimulatedObjectTurnsObservingOnInstead) {
    FullProject p;
    Document& doc = *p.rig.doc;
    doc.setModified(false);
    const DeleteOutcome out = projectDelete(doc, projectItems(doc, 0)[0]);
    EXPECT_TRUE(out.observeTurnedOn);
    EXPECT_FALSE(out.objectsRemoved);
    EXPECT_EQ(doc.objectCount(), 3);
    EXPECT_NE(doc.state().observeMode, 0);
    EXPECT_TRUE(doc.modified());
    // The tree now starts at object 1; deleting "object 0" again changes nothing more.
    const auto items = projectItems(doc, 1);
    EXPECT_EQ(items[0].index, 1);
    EXPECT_EQ(items[0].label, "ghost *");
    EXPECT_EQ(items.size(), 5u);
}

TEST(ProjectItems, DeleteRemovesObjectsSceneryAndTerrain) {
    FullProject p;
    Document& doc = *p.rig.doc;
    auto items = projectItems(doc, 0);
    DeleteOutcome out = projectDelete(doc, items[1]); // ghost
    EXPECT_TRUE(out.objectsRemoved);
    EXPECT_EQ(labels(projectItems(doc, -1))[1], "rival");
    items = projectItems(doc, -1);
    out = projectDelete(doc, items[2]); // barn
    EXPECT_TRUE(out.sceneryRemoved);
    EXPECT_EQ(doc.scenery().count(), 1);
    EXPECT_EQ(doc.scenery().set(0).baseName, "silo.dxf");
    items = projectItems(doc, -1);
    out = projectDelete(doc, items.back());
    EXPECT_TRUE(out.terrainRemoved);
    EXPECT_FALSE(doc.terrain().present());
    EXPECT_EQ(doc.state().terrainPresent, 0);
    // An item that no longer exists does nothing.
    EXPECT_FALSE(projectDelete(doc, items.back()).changed());
    EXPECT_FALSE(projectDelete(doc, ProjectItem{kItemDynamicObject, 7, "gone"}).changed());
}

TEST(ProjectItems, SaveAsUsesTheKindsDialogAndAltSavesTheGeometry) {
    struct Case {
        ProjectItemKind kind;
        bool alt;
        const char* title;
    };
    const Case cases[] = {
        {kItemTerrain, false, "Save DXF Terrain As:"},
        {kItemTerrain, true, "Save DXF Terrain As:"},
        {kItemStaticObject, false, "Save DXF Object Geometry As:"},
        {kItemDynamicObject, false, "Save Dynamic Motion As:"},
        {kItemDynamicObject, true, "Save DXF Object Geometry As:"},
        {kItemInteractiveObject, false, "Save Dynamic Motion As:"},
        {kItemSimulatedObject, false, "Save Object As:"},
        {kItemSimulatedObject, true, "Save DXF Object Geometry As:"},
        {kItemScenery, false, "Save DXF Scenery As:"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(saveAsTitle(c.kind, c.alt), c.title) << c.kind << c.alt;

    // Through the document: each press asks its own dialog and writes the file.
    FullProject p;
    Document& doc = *p.rig.doc;
    const auto items = projectItems(doc, 0);
    const struct {
        std::size_t item;
        bool alt;
        const char* file;
    } saves[] = {{0, false, "car.kvo"},  {0, true, "car.dxf"},   {1, false, "ghost.kvm"},
                 {1, true, "ghost.dxf"}, {3, false, "barn.dxf"}, {5, false, "hills.dxf"}};
    for (const auto& s : saves) {
        p.rig.files.answers.push_back((p.dir.path() / "out" / s.file).string());
        std::filesystem::create_directories(p.dir.path() / "out");
        EXPECT_TRUE(projectSaveAs(doc, items[s.item], s.alt)) << s.file;
        EXPECT_EQ(p.rig.files.requests.back().title, saveAsTitle(items[s.item].kind, s.alt));
        EXPECT_TRUE(std::filesystem::exists(p.dir.path() / "out" / s.file)) << s.file;
    }
}

TEST(ProjectItems, ColorOnTheTerrainDoesNothingAndOtherItemsStoreTheirPair) {
    FullProject p;
    Document& doc = *p.rig.doc;
    const auto items = projectItems(doc, 0);
    int asked = 0;
    const AskAppearance red = [&](const ItemAppearance&) {
        ++asked;
        return std::optional<ItemAppearance>(ItemAppearance{3, 1});
    };
    doc.setModified(false);
    EXPECT_FALSE(projectColor(doc, items.back(), red));
    EXPECT_EQ(asked, 0);
    EXPECT_FALSE(doc.modified());
    EXPECT_TRUE(projectColor(doc, items[2], red));
    EXPECT_EQ(doc.object(2).color, 3);
    EXPECT_EQ(doc.object(2).transparency, 1);
    EXPECT_TRUE(projectColor(doc, items[4], red));
    EXPECT_EQ(doc.scenery().set(1).color, 3);
    EXPECT_TRUE(doc.modified());
    // The same pair again, or Cancel, changes nothing.
    EXPECT_FALSE(projectColor(doc, items[2], red));
    EXPECT_FALSE(projectColor(
        doc, items[0], [](const ItemAppearance&) { return std::optional<ItemAppearance>(); }));
}

TEST(ProjectItems, TransformCarriesGeometryAndKeepsTheOldOneWhenRefused) {
    FullProject p;
    Document& doc = *p.rig.doc;
    const auto items = projectItems(doc, 0);
    model::GeometryTransform twice;
    twice.scale = {2.0f, 2.0f, 2.0f};
    model::GeometryTransform started;
    const AskTransform ask = [&](const model::GeometryTransform& start) {
        started = start;
        return std::optional<model::GeometryTransform>(twice);
    };
    const float before = viewingDistance(doc);
    EXPECT_EQ(projectTransform(doc, items[0], ask), TransformOutcome::Changed);
    EXPECT_NEAR(viewingDistance(doc), 2.0f * before, 1e-3f * before);
    EXPECT_FLOAT_EQ(doc.object(0).geometryTransform.scale[0], 2.0f);
    // A dynamic object has nothing to transform: no dialog.
    started.scale[0] = 9.0f;
    EXPECT_EQ(projectTransform(doc, items[1], ask), TransformOutcome::Nothing);
    EXPECT_FLOAT_EQ(started.scale[0], 9.0f);
    // Scenery and terrain start from their stored transform and store the new one.
    EXPECT_EQ(projectTransform(doc, items[3], ask), TransformOutcome::Changed);
    EXPECT_FLOAT_EQ(started.scale[0], 1.0f);
    EXPECT_FLOAT_EQ(doc.scenery().set(0).transform.scale[0], 2.0f);
    EXPECT_EQ(projectTransform(doc, items[5], ask), TransformOutcome::Changed);
    EXPECT_FLOAT_EQ(doc.terrain().info().transform.scale[0], 2.0f);
    EXPECT_TRUE(doc.terrain().present());
    // A zero scale cannot be carried back: the object keeps its geometry.
    model::GeometryTransform flat;
    flat.scale = {1.0f, 1.0f, 0.0f};
    EXPECT_EQ(projectTransform(doc, items[2],
                               [&](const model::GeometryTransform&) {
                                   return std::optional<model::GeometryTransform>(flat);
                               }),
              TransformOutcome::Refused);
    EXPECT_FLOAT_EQ(doc.object(2).geometryTransform.scale[2], 1.0f);
}

TEST(ProjectItems, ViewingDistanceIsThreeRadiiForLargeObjectsAndSixForSmall) {
    DocumentRig rig;
    Document& doc = *rig.doc;
    const geom::SlotMesh& mesh = doc.meshes().mesh(0);
    float r = 0.0f;
    for (int v = 0; v < mesh.vertexCount; ++v) {
        const Vec3& q = mesh.vertices[static_cast<std::size_t>(v)];
        r = std::max(r, std::sqrt(q[0] * q[0] + q[1] * q[1] + q[2] * q[2]));
    }
    const float feet = r * kFeetPerMetre;
    ASSERT_GT(feet, 5.0f); // the car template
    EXPECT_FLOAT_EQ(viewingDistance(doc), 3.0f * feet);
    // Shrunk to a tenth, the car is under 5 ft across: six radii.
    model::GeometryTransform tenth;
    tenth.scale = {0.1f, 0.1f, 0.1f};
    ASSERT_TRUE(doc.meshes().retransformGeometry(0, model::GeometryTransform{}, tenth));
    EXPECT_NEAR(viewingDistance(doc), 6.0f * feet * 0.1f, 1e-3f);
    doc.meshes().clearGeometry(0);
    EXPECT_FLOAT_EQ(viewingDistance(doc), 0.0f);
}

} // namespace
} // namespace kv::app
