#pragma once
/// The project window's list: one item per object (from the first one shown),
/// per scenery set and for the terrain, each with its kind (which is also its
/// icon) and its label.

#include <string>
#include <vector>

namespace kv::app {

class Document;

/// Kind of a project item; the icon of an item is the one of its kind.
enum ProjectItemKind : int {
    kItemTerrain = 0,
    kItemStaticObject = 1,      ///< role 2: geometry that can be hit
    kItemDynamicObject = 2,     ///< role 1: plays back its motion
    kItemInteractiveObject = 4, ///< role 0, other than object 0
    kItemSimulatedObject = 5,   ///< object 0
    kItemScenery = 6,
};
/// Icons in the image list: one per kind number, kind 3 unused.
inline constexpr int kProjectIconCount = 7;

struct ProjectItem {
    ProjectItemKind kind = kItemTerrain;
    int index = 0; ///< object slot, scenery set, or 0 for the terrain
    std::string label;
};

/// The items in tree order: the objects from 1 when observing, else from 0;
/// the scenery sets; the terrain when one is loaded. The object at index
/// `followed` (the one the camera follows) has " *" after its name.
std::vector<ProjectItem> projectItems(const Document& doc, int followed);

/// The project window's title: the project's name.
std::string projectWindowTitle(const Document& doc);

} // namespace kv::app
