#pragma once
/// The "Effectors" dialog without its widgets: a working copy of the
/// simulated object's effector block, the effector shown in the fields, the
/// Absolute / Relative to Parent view, link mode, and every structural edit
/// with its refusal. OK writes the copy back only when the rules of
/// effector_validation.h hold.
///
/// Every operation first applies the fields as the user left them (`edited`)
/// to the effector they show, then refreshes what the dialog shows. Fields
/// whose text is still the text they were shown with keep the stored value
/// exactly, so moving through the tree never drifts a position by rounding.

#include "app/settings/units.h"
#include "model/object_record.h"

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kv::app {

/// Status text while the editor waits for the parent of a link.
inline constexpr std::string_view kSelectParentText =
    "Select the parent effector. Press ESC to cancel.";
/// "Less" when the effectors no longer have the template's shape.
inline constexpr std::string_view kNoLongerFitsMessage =
    "The effectors no longer fit into the current template.";
/// Name of a new or cleared effector.
inline constexpr std::string_view kNewEffectorName = "NewEffector";

/// The kind buttons in dialog order: "Basic", "Tire", "Blade", "Skid", "Sound".
struct EffectorKindChoice {
    std::string_view text;
    int kind;
};
inline constexpr std::array<EffectorKindChoice, 5> kEffectorKinds{{
    {"Basic", 0},
    {"Tire", 1},
    {"Blade", 2},
    {"Skid", 4},
    {"Sound", 3},
}};

/// What the fields show for the selected effector.
struct EffectorFields {
    int kind = 0; ///< model::EffectorKind
    std::string name;
    std::string radius; ///< working length units, "%0.4f"
    std::string width;
    /// Forward, right, vertical (down or up per the axes preference), in
    /// working length units, absolute or relative per the view.
    std::array<std::string, 3> position;
    /// Roll, pitch, yaw (deg).
    std::array<std::string, 3> angles;
    /// List position of each degree of freedom's driver (model::Dof order);
    /// -1 when the list has no item for the stored code.
    std::array<int, 6> drivers{};
    /// Forward, right, vertical in working length units per driver unit; roll,
    /// pitch, yaw in degrees per driver unit.
    std::array<std::string, 6> scales;
    /// False for a Sound effector or when none is selected: every field and
    /// list but the kind buttons is then disabled.
    bool enabled = false;
};

/// Field labels in the working units.
struct EffectorLabels {
    std::string radius;                  ///< "Radius (m)"
    std::string width;                   ///< "Width (m)"
    std::array<std::string, 3> position; ///< "Forward (m)", "Right (m)", "Up (m)"
};

/// One line of the tree: an effector and how deep it hangs (0 for a root).
struct EffectorTreeRow {
    int effector = -1;
    int depth = 0;
};

class EffectorEditor {
  public:
    /// Copies `object`'s effectors; `selected` and `relativeMode` are the
    /// values the application remembered. Numbered driver codes are reduced.
    EffectorEditor(const model::ObjectRecord& object, const WorkingUnits& units, int selected,
                   int relativeMode);

    /// The working copy (only its effector count and effectors are edited).
    const model::ObjectRecord& working() const { return working_; }
    int selected() const { return selected_; }
    int relativeMode() const { return relativeMode_; }
    bool linking() const { return linking_; }
    /// Empty, or kSelectParentText while linking.
    std::string_view status() const { return linking_ ? kSelectParentText : std::string_view{}; }
    const EffectorFields& shown() const { return shown_; }
    const EffectorLabels& labels() const { return labels_; }
    /// Roots in index order, each followed by its children.
    std::vector<EffectorTreeRow> treeRows() const;
    std::string effectorName(int index) const;

    /// Reads `edited` back into the selected effector. A field without a
    /// number keeps its stored value; the refusal is returned.
    std::optional<std::string> apply(const EffectorFields& edited);

    /// Tree selection outside link mode: apply, show `index`.
    void select(const EffectorFields& edited, int index);
    /// Kind buttons: apply with `kind`, leave link mode.
    void setKind(EffectorFields edited, int kind);
    /// "Absolute" (0) and "Relative to Parent" (1).
    void setRelativeMode(const EffectorFields& edited, int mode);
    /// A driver list changed (its new position is in `edited`): "None" sets
    /// the scale to 0; another item turns a zero scale into one working
    /// length unit or one degree.
    void driverChanged(const EffectorFields& edited, int dof);

    std::optional<std::string> newEffector(const EffectorFields& edited);
    std::optional<std::string> copySelected(const EffectorFields& edited);
    void clearSelected(const EffectorFields& edited);
    std::optional<std::string> deleteSelected(const EffectorFields& edited);
    std::optional<std::string> unlinkSelected(const EffectorFields& edited);
    /// "Link": the selected effector waits for a parent.
    void startLink(const EffectorFields& edited);
    /// The tree selection in link mode: the waiting effectors take `parent`.
    std::optional<std::string> finishLink(int parent);
    /// ESC in link mode.
    void cancelLink();

    /// "Less": nothing when the working copy fits the vehicle's template.
    std::optional<std::string> less(const EffectorFields& edited);
    /// "OK": nothing when every rule holds; the working copy then carries the
    /// numbered driver codes to be stored. Else the first broken rule's
    /// message, with the codes reduced again.
    std::optional<std::string> accept(const EffectorFields& edited);

    /// Gives effector `child` the parent `parent` (-1: none) and rebuilds the
    /// children lists; refuses a seventh child or a circular link and leaves
    /// the tree as it was.
    std::optional<std::string> setParent(int child, int parent);

  private:
    void refresh();
    model::EffectorRecord& effector(int i) {
        return working_.effectors[static_cast<std::size_t>(i)];
    }
    const model::EffectorRecord& effector(int i) const {
        return working_.effectors[static_cast<std::size_t>(i)];
    }
    int count() const;
    void rebuildChildren();
    /// Stores `offsets` for effector `i` given in the object frame, keeping
    /// its children where they are in the object frame.
    void placeAbsolute(int i, const std::array<float, 6>& offsets);

    model::ObjectRecord working_;
    WorkingUnits units_;
    int selected_ = -1;
    int relativeMode_ = 0;
    bool linking_ = false;
    std::vector<int> waiting_;
    EffectorFields shown_;
    /// The exact values behind the shown position and angles (ft, deg).
    std::array<float, 6> shownOffsets_{};
    EffectorLabels labels_;
};

} // namespace kv::app
