#include "app/project_tree/project_items.h"

#include "app/document/document.h"

#include <cstring>

namespace kv::app {

namespace {

std::string nameOf(const model::ObjectRecord& r) {
    return std::string(r.name.data(), strnlen(r.name.data(), r.name.size()));
}

ProjectItemKind objectKind(const model::ObjectRecord& r, int slot) {
    if (slot == 0)
        return kItemSimulatedObject;
    switch (r.role) {
    case model::kRoleStatic:
        return kItemStaticObject;
    case model::kRoleDynamic:
        return kItemDynamicObject;
    default:
        return kItemInteractiveObject;
    }
}

} // namespace

std::vector<ProjectItem> projectItems(const Document& doc, int followed) {
    std::vector<ProjectItem> items;
    const int first = doc.state().observeMode != 0 ? 1 : 0;
    for (int k = first; k < doc.objectCount(); ++k) {
        const model::ObjectRecord& r = doc.object(k);
        std::string label = nameOf(r);
        if (k == followed)
            label += " *";
        items.push_back({objectKind(r, k), k, std::move(label)});
    }
    const geom::SceneryStore& scenery = doc.scenery();
    for (int i = 0; i < scenery.count(); ++i)
        items.push_back({kItemScenery, i, scenery.set(i).baseName});
    auto& terrain = const_cast<Document&>(doc).terrain();
    if (terrain.present())
        items.push_back({kItemTerrain, 0, terrain.info().baseName});
    return items;
}

std::string projectWindowTitle(const Document& doc) {
    return doc.projectName();
}

} // namespace kv::app
