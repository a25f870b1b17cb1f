#include "app/project_tree/project_actions.h"

#include "app/document/document.h"
#include "common/unit_constants.h"

#include <algorithm>
#include <cmath>

namespace kv::app {

namespace {

bool isObject(ProjectItemKind kind) {
    return kind == kItemStaticObject || kind == kItemDynamicObject ||
           kind == kItemInteractiveObject || kind == kItemSimulatedObject;
}

/// True when `item` still names something in the project.
bool exists(const Document& doc, const ProjectItem& item) {
    if (isObject(item.kind))
        return item.index >= 0 && item.index < doc.objectCount();
    if (item.kind == kItemScenery)
        return item.index >= 0 && item.index < doc.scenery().count();
    return const_cast<Document&>(doc).terrain().present();
}

/// Distance from the origin above which the viewing distance is 3 radii, else 6 (ft).
constexpr float kSmallObjectRadius = 5.0f;

} // namespace

std::string_view saveAsTitle(ProjectItemKind kind, bool alt) {
    switch (kind) {
    case kItemTerrain:
        return "Save DXF Terrain As:";
    case kItemStaticObject:
        return "Save DXF Object Geometry As:";
    case kItemDynamicObject:
    case kItemInteractiveObject:
        return alt ? "Save DXF Object Geometry As:" : "Save Dynamic Motion As:";
    case kItemSimulatedObject:
        return alt ? "Save DXF Object Geometry As:" : "Save Object As:";
    case kItemScenery:
        return "Save DXF Scenery As:";
    }
    return {};
}

bool projectSaveAs(Document& doc, const ProjectItem& item, bool alt) {
    if (!exists(doc, item))
        return false;
    switch (item.kind) {
    case kItemTerrain:
        return doc.saveTerrainAs();
    case kItemScenery:
        return doc.saveSceneryAs(item.index);
    case kItemStaticObject:
        return doc.saveObjectGeometryAs(item.index);
    case kItemDynamicObject:
    case kItemInteractiveObject:
        return alt ? doc.saveObjectGeometryAs(item.index) : doc.saveDynamicMotionAs(item.index);
    case kItemSimulatedObject:
        return alt ? doc.saveObjectGeometryAs(item.index) : doc.saveObjectAs(item.index);
    }
    return false;
}

DeleteOutcome projectDelete(Document& doc, const ProjectItem& item) {
    DeleteOutcome out;
    if (!exists(doc, item))
        return out;
    if (item.kind == kItemTerrain) {
        doc.removeTerrain();
        out.terrainRemoved = true;
    } else if (item.kind == kItemScenery) {
        out.sceneryRemoved = doc.removeScenery(item.index);
    } else if (item.index <= 0) {
        if (doc.state().observeMode == 0)
            doc.toggleObserve();
        out.observeTurnedOn = true;
    } else {
        out.objectsRemoved = doc.removeObject(item.index);
    }
    return out;
}

TransformOutcome projectTransform(Document& doc, const ProjectItem& item, const AskTransform& ask) {
    if (!exists(doc, item) || item.kind == kItemDynamicObject || !ask)
        return TransformOutcome::Nothing;
    if (item.kind == kItemTerrain) {
        const auto chosen = ask(doc.terrain().info().transform);
        if (!chosen)
            return TransformOutcome::Nothing;
        // The terrain keeps its file and transform unless the whole pass succeeds.
        return doc.transformTerrain(*chosen) ? TransformOutcome::Changed
                                             : TransformOutcome::Refused;
    }
    if (item.kind == kItemScenery) {
        const auto chosen = ask(doc.scenery().set(item.index).transform);
        if (!chosen)
            return TransformOutcome::Nothing;
        return doc.transformScenery(item.index, *chosen) ? TransformOutcome::Changed
                                                         : TransformOutcome::Refused;
    }
    model::ObjectRecord& r = doc.object(item.index);
    const auto chosen = ask(r.geometryTransform);
    if (!chosen)
        return TransformOutcome::Nothing;
    if (!doc.meshes().hasStore() ||
        !doc.meshes().retransformGeometry(item.index, r.geometryTransform, *chosen))
        return TransformOutcome::Refused;
    r.geometryTransform = *chosen;
    // The body's contact points are the geometry's vertices: take them afresh.
    doc.meshes().thinContactVertices(item.index);
    doc.setModified(true);
    if (item.kind == kItemStaticObject)
        doc.resetSimulation();
    return TransformOutcome::Changed;
}

bool projectColor(Document& doc, const ProjectItem& item, const AskAppearance& ask) {
    if (!exists(doc, item) || item.kind == kItemTerrain || !ask)
        return false;
    ItemAppearance start;
    if (item.kind == kItemScenery) {
        const geom::SceneSetInfo& set = doc.scenery().set(item.index);
        start = {set.color, set.transparency};
    } else {
        const model::ObjectRecord& r = doc.object(item.index);
        start = {r.color, r.transparency};
    }
    const auto chosen = ask(start);
    if (!chosen || (chosen->color == start.color && chosen->transparency == start.transparency))
        return false;
    if (item.kind == kItemScenery) {
        doc.scenery().setAppearance(item.index, chosen->color, chosen->transparency);
    } else {
        model::ObjectRecord& r = doc.object(item.index);
        r.color = chosen->color;
        r.transparency = chosen->transparency;
    }
    doc.setModified(true);
    return true;
}

float viewingDistance(const Document& doc) {
    auto& meshes = const_cast<Document&>(doc).meshes();
    if (!meshes.hasStore() || meshes.slotCount() < 1)
        return 0.0f;
    const geom::SlotMesh& mesh = meshes.mesh(0);
    float largest = 0.0f; // m
    for (int v = 0; v < mesh.vertexCount; ++v) {
        const Vec3& p = mesh.vertices[static_cast<std::size_t>(v)];
        largest = std::max(largest, std::sqrt(p[0] * p[0] + p[1] * p[1] + p[2] * p[2]));
    }
    const float feet = largest * kFeetPerMetre;
    return feet > kSmallObjectRadius ? feet * 3.0f : feet * 6.0f;
}

} // namespace kv::app
