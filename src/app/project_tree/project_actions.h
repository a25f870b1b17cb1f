#pragma once
/// What the project window's four buttons and its Delete key do to the
/// selected item, through the document's operations. The dialogs they need
/// (Transform, Appearance) are asked for through the callbacks given.

#include "app/project_tree/project_items.h"
#include "model/object_record.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string_view>

namespace kv::app {

class Document;

/// Title of the file dialog "Save As..." opens for an item of `kind`; with Alt
/// held an object's geometry is saved as DXF instead. Empty: nothing to save.
std::string_view saveAsTitle(ProjectItemKind kind, bool alt);

/// "Save As...": the save operation of the item. True when a file was written.
bool projectSaveAs(Document& doc, const ProjectItem& item, bool alt);

/// What a deletion removed; the views rebuild the matching display lists.
struct DeleteOutcome {
    bool objectsRemoved = false;
    bool sceneryRemoved = false;
    bool terrainRemoved = false;
    bool observeTurnedOn = false; ///< the simulated object was "deleted"
    bool changed() const {
        return objectsRemoved || sceneryRemoved || terrainRemoved || observeTurnedOn;
    }
};

/// "Delete" (and the Delete key): removes the item. The simulated object is
/// never removed: observing is switched on instead. Anything changed marks the
/// project modified and resets the simulation.
DeleteOutcome projectDelete(Document& doc, const ProjectItem& item);

/// Runs the Transform dialog from a starting transform; nothing on Cancel.
using AskTransform =
    std::function<std::optional<model::GeometryTransform>(const model::GeometryTransform& start)>;

/// What "Transform..." changed.
enum class TransformOutcome {
    Nothing, ///< no transform for this kind, or the dialog was cancelled
    Changed, ///< the geometry now stands in the new transform
    Refused, ///< the transform could not be carried out; the old geometry is kept
};

/// "Transform...": the terrain and scenery are re-read from their working
/// files with the new transform, an object's geometry is carried from its old
/// transform to the new one (a static object also resets the simulation);
/// a dynamic object has nothing to transform.
TransformOutcome projectTransform(Document& doc, const ProjectItem& item, const AskTransform& ask);

/// A colour code and transparency code pair.
struct ItemAppearance {
    std::int32_t color = 0;
    std::int32_t transparency = 0;
};
/// Runs the Appearance dialog from a starting pair; nothing on Cancel.
using AskAppearance = std::function<std::optional<ItemAppearance>(const ItemAppearance& start)>;

/// "Color...": stores the chosen pair of an object or scenery set (the
/// terrain has none). True when the pair changed.
bool projectColor(Document& doc, const ProjectItem& item, const AskAppearance& ask);

/// The viewing distance of the simulated object (ft): its geometry's largest
/// distance from the origin, times 3 above 5 ft and times 6 below; 0 without
/// geometry. The external camera starts this far from the object.
float viewingDistance(const Document& doc);

} // namespace kv::app
