#include "app/customize/effector_editor.h"

#include "app/customize/effector_driver_lists.h"
#include "app/customize/effector_frames.h"
#include "app/customize/effector_template_fit.h"
#include "app/customize/effector_validation.h"
#include "app/customize/form_field.h"
#include "app/dialogs/dialog_entry.h"
#include "app/settings/units_convert.h"
#include "app/settings/units_labels.h"
#include "model/driver_codes.h"
#include "model/object_model.h"

#include <algorithm>

namespace kv::app {

namespace {
/// "%0.4f", never "-0.0000" for a value that prints as zero.
std::string shownNumber(double value) {
    return formatEntry(kFormatLength, value);
}
} // namespace

using model::EffectorRecord;

namespace {

bool isLinearDof(int dof) {
    return dof <= model::kDofDown;
}

} // namespace

EffectorEditor::EffectorEditor(const model::ObjectRecord& object, const WorkingUnits& units,
                               int selected, int relativeMode)
    : working_(object), units_(units), selected_(selected),
      relativeMode_(relativeMode != 0 ? 1 : 0) {
    working_.effectorCount = count();
    reduceDriverCodes(working_);
    labels_.radius = lengthLabel("Radius", units.lengthUnitFactor);
    labels_.width = lengthLabel("Width", units.lengthUnitFactor);
    labels_.position = positionLabels(units);
    refresh();
}

int EffectorEditor::count() const {
    return std::clamp(working_.effectorCount, 0, model::kMaxEffectors);
}

std::string EffectorEditor::effectorName(int index) const {
    if (index < 0 || index >= count())
        return {};
    return model::recordName(effector(index).name);
}

std::vector<EffectorTreeRow> EffectorEditor::treeRows() const {
    std::vector<EffectorTreeRow> rows;
    std::array<bool, model::kMaxEffectors> placed{};
    const int n = count();
    auto walk = [&](auto&& self, int i, int depth) -> void {
        if (placed[static_cast<std::size_t>(i)])
            return;
        placed[static_cast<std::size_t>(i)] = true;
        rows.push_back({i, depth});
        const EffectorRecord& e = effector(i);
        for (int c = 0; c < std::clamp(e.childCount, 0, model::kMaxChildren); ++c) {
            const int child = e.children[static_cast<std::size_t>(c)];
            if (child >= 0 && child < n && effector(child).parent == i)
                self(self, child, depth + 1);
        }
    };
    for (int i = 0; i < n; ++i) {
        const int p = effector(i).parent;
        if (p < 0 || p >= n)
            walk(walk, i, 0);
    }
    // A record read from a file may hold a loop; its members stay reachable.
    for (int i = 0; i < n; ++i)
        walk(walk, i, 0);
    return rows;
}

void EffectorEditor::refresh() {
    selected_ = std::clamp(selected_, -1, count() - 1);
    EffectorFields f;
    shownOffsets_ = {};
    if (selected_ >= 0) {
        const EffectorRecord& e = effector(selected_);
        f.kind = e.kind;
        f.name = model::recordName(e.name);
        f.enabled = e.kind != model::kEffectorSound;
        f.radius = shownNumber(toDisplayLength(e.radius, units_.lengthUnitFactor));
        f.width = shownNumber(toDisplayLength(e.width, units_.lengthUnitFactor));
        if (relativeMode_ == 0) {
            shownOffsets_ = frameOffsets(effectorFrame(working_, selected_));
        } else {
            for (int d = 0; d < 6; ++d)
                shownOffsets_[static_cast<std::size_t>(d)] = e.offsets[static_cast<std::size_t>(d)];
        }
        f.position[0] = shownNumber(toDisplayLength(shownOffsets_[0], units_.lengthUnitFactor));
        f.position[1] = shownNumber(toDisplayLength(shownOffsets_[1], units_.lengthUnitFactor));
        f.position[2] = shownNumber(toDisplayVerticalLength(shownOffsets_[2], units_));
        for (int a = 0; a < 3; ++a)
            f.angles[static_cast<std::size_t>(a)] =
                shownNumber(shownOffsets_[static_cast<std::size_t>(3 + a)]);
        for (int d = 0; d < 6; ++d) {
            const auto k = static_cast<std::size_t>(d);
            f.drivers[k] = driverListPosition(d, e.drivers[k]);
            const float s = e.scales[k];
            f.scales[k] = shownNumber(d == model::kDofDown ? toDisplayVerticalLength(s, units_)
                                      : isLinearDof(d) ? toDisplayLength(s, units_.lengthUnitFactor)
                                                       : s);
        }
        if (!f.enabled)
            f.drivers[model::kDofRoll] = 0;
    } else {
        f.drivers.fill(0);
    }
    shown_ = f;
}

std::optional<std::string> EffectorEditor::apply(const EffectorFields& edited) {
    if (selected_ < 0 || selected_ >= count())
        return std::nullopt;
    EffectorRecord& e = effector(selected_);
    e.kind = edited.kind;
    if (!shown_.enabled)
        return std::nullopt;
    if (edited.name != shown_.name)
        model::setRecordName(e.name, edited.name);
    FieldReader reader;
    const float factor = units_.lengthUnitFactor;
    const auto length = [factor](double v) {
        return fromDisplayLength(static_cast<float>(v), factor);
    };
    const auto vertical = [this](double v) {
        return fromDisplayVerticalLength(static_cast<float>(v), units_);
    };
    const auto degrees = [](double v) { return static_cast<float>(v); };
    e.radius = reader.read(0, shown_.radius, edited.radius, e.radius, length);
    e.width = reader.read(1, shown_.width, edited.width, e.width, length);
    std::array<float, 6> offsets = shownOffsets_;
    offsets[0] = reader.read(2, shown_.position[0], edited.position[0], offsets[0], length);
    offsets[1] = reader.read(3, shown_.position[1], edited.position[1], offsets[1], length);
    offsets[2] = reader.read(4, shown_.position[2], edited.position[2], offsets[2], vertical);
    for (std::size_t a = 0; a < 3; ++a)
        offsets[3 + a] = reader.read(static_cast<int>(5 + a), shown_.angles[a], edited.angles[a],
                                     offsets[3 + a], degrees);
    if (offsets != shownOffsets_) {
        if (relativeMode_ == 0)
            placeAbsolute(selected_, offsets);
        else
            e.offsets = offsets;
    }
    for (int d = 0; d < 6; ++d) {
        const auto k = static_cast<std::size_t>(d);
        if (edited.drivers[k] >= 0 && edited.drivers[k] != shown_.drivers[k])
            e.drivers[k] = driverCodeAt(d, edited.drivers[k]);
        const auto scale = [this, d, factor](double v) {
            if (d == model::kDofDown)
                return fromDisplayVerticalLength(static_cast<float>(v), units_);
            if (isLinearDof(d))
                return fromDisplayLength(static_cast<float>(v), factor);
            return static_cast<float>(v);
        };
        e.scales[k] = reader.read(8 + d, shown_.scales[k], edited.scales[k], e.scales[k], scale);
    }
    if (reader.refusal())
        return reader.refusal()->message;
    return std::nullopt;
}

void EffectorEditor::placeAbsolute(int i, const std::array<float, 6>& offsets) {
    const int n = count();
    std::vector<std::pair<int, EffectorFrame>> children;
    for (int c = 0; c < n; ++c) {
        if (c != i && effector(c).parent == i)
            children.emplace_back(c, effectorFrame(working_, c));
    }
    const int parent = effector(i).parent;
    const EffectorFrame parentFrame =
        parent >= 0 && parent < n ? effectorFrame(working_, parent) : EffectorFrame{};
    effector(i).offsets = relativeOffsets(parentFrame, frameFromOffsets(offsets));
    const EffectorFrame mine = effectorFrame(working_, i);
    for (const auto& [c, frame] : children)
        effector(c).offsets = relativeOffsets(mine, frame);
}

void EffectorEditor::select(const EffectorFields& edited, int index) {
    apply(edited);
    selected_ = index;
    refresh();
}

void EffectorEditor::setKind(EffectorFields edited, int kind) {
    edited.kind = kind;
    apply(edited);
    linking_ = false;
    waiting_.clear();
    refresh();
}

void EffectorEditor::setRelativeMode(const EffectorFields& edited, int mode) {
    apply(edited);
    relativeMode_ = mode != 0 ? 1 : 0;
    linking_ = false;
    waiting_.clear();
    refresh();
}

void EffectorEditor::driverChanged(const EffectorFields& edited, int dof) {
    apply(edited);
    if (selected_ >= 0 && dof >= 0 && dof < 6) {
        EffectorRecord& e = effector(selected_);
        const auto k = static_cast<std::size_t>(dof);
        if (e.drivers[k] == model::kDriverNone) {
            e.scales[k] = 0.0f;
        } else if (e.scales[k] == 0.0f) {
            e.scales[k] = dof == model::kDofDown ? fromDisplayVerticalLength(1.0f, units_)
                          : isLinearDof(dof)     ? units_.lengthUnitFactor
                                                 : 1.0f;
        }
    }
    refresh();
}

std::optional<std::string> EffectorEditor::newEffector(const EffectorFields& edited) {
    apply(edited);
    if (count() >= model::kMaxEffectors) {
        refresh();
        return model::tooManyEffectorsMessage();
    }
    const int i = count();
    EffectorRecord& e = effector(i);
    e = EffectorRecord{};
    model::setRecordName(e.name, kNewEffectorName);
    working_.effectorCount = i + 1;
    selected_ = i;
    refresh();
    return std::nullopt;
}

std::optional<std::string> EffectorEditor::copySelected(const EffectorFields& edited) {
    apply(edited);
    if (selected_ < 0) {
        refresh();
        return std::nullopt;
    }
    if (count() >= model::kMaxEffectors) {
        refresh();
        return model::tooManyEffectorsMessage();
    }
    const EffectorRecord source = effector(selected_);
    if (source.parent >= 0 && source.parent < count()) {
        if (auto refusal = model::checkCanAddChild(working_, source.parent); !refusal.empty()) {
            refresh();
            return refusal;
        }
    }
    const int i = count();
    EffectorRecord& copy = effector(i);
    copy = source;
    copy.childCount = 0;
    copy.children.fill(0);
    working_.effectorCount = i + 1;
    rebuildChildren();
    selected_ = i;
    refresh();
    return std::nullopt;
}

void EffectorEditor::clearSelected(const EffectorFields& edited) {
    apply(edited);
    if (selected_ >= 0) {
        EffectorRecord& e = effector(selected_);
        model::setRecordName(e.name, kNewEffectorName);
        e.kind = model::kEffectorBasic;
        e.drivers.fill(model::kDriverNone);
        e.scales.fill(0.0f);
        e.radius = 0.0f;
        e.width = 0.0f;
        if (relativeMode_ == 0)
            placeAbsolute(selected_, {});
        else
            e.offsets.fill(0.0f);
    }
    refresh();
}

std::optional<std::string> EffectorEditor::deleteSelected(const EffectorFields& edited) {
    apply(edited);
    const int gone = selected_;
    if (gone < 0) {
        refresh();
        return std::nullopt;
    }
    const int n = count();
    const int parent = effector(gone).parent;
    const bool hasParent = parent >= 0 && parent < n;
    // The children move up to the deleted effector's parent, which must have room.
    if (hasParent) {
        int children = 0;
        for (int i = 0; i < n; ++i) {
            if (i != gone && (effector(i).parent == parent || effector(i).parent == gone))
                ++children;
        }
        if (children > model::kMaxChildren) {
            refresh();
            return model::tooManyChildrenMessage(effectorName(parent));
        }
    }
    for (int i = 0; i < n; ++i) {
        if (i != gone && effector(i).parent == gone)
            effector(i).parent = hasParent ? parent : -1;
    }
    model::deleteEffector(working_, gone);
    for (int i = 0; i < count(); ++i) {
        int& p = effector(i).parent;
        if (p > gone)
            --p;
        else if (p == gone)
            p = -1;
    }
    rebuildChildren();
    selected_ = hasParent ? (parent > gone ? parent - 1 : parent) : -1;
    refresh();
    return std::nullopt;
}

std::optional<std::string> EffectorEditor::unlinkSelected(const EffectorFields& edited) {
    apply(edited);
    std::optional<std::string> refusal;
    if (selected_ >= 0)
        refusal = setParent(selected_, -1);
    linking_ = false;
    waiting_.clear();
    refresh();
    return refusal;
}

void EffectorEditor::startLink(const EffectorFields& edited) {
    apply(edited);
    if (selected_ >= 0) {
        waiting_ = {selected_};
        linking_ = true;
    }
    refresh();
}

std::optional<std::string> EffectorEditor::finishLink(int parent) {
    std::optional<std::string> refusal;
    for (int child : waiting_) {
        refusal = setParent(child, parent);
        if (refusal)
            break;
    }
    linking_ = false;
    waiting_.clear();
    refresh();
    return refusal;
}

void EffectorEditor::cancelLink() {
    linking_ = false;
    waiting_.clear();
    refresh();
}

std::optional<std::string> EffectorEditor::setParent(int child, int parent) {
    const int n = count();
    if (child < 0 || child >= n)
        return std::nullopt;
    if (parent < 0 || parent >= n) {
        effector(child).parent = -1;
        rebuildChildren();
        return std::nullopt;
    }
    // A parent that is the child itself or hangs below it would close a loop.
    int steps = 0;
    for (int p = parent; p >= 0 && p < n && steps <= model::kMaxEffectors;
         p = effector(p).parent, ++steps) {
        if (p == child)
            return model::circularReferenceMessage(effectorName(child), effectorName(parent));
    }
    if (effector(child).parent != parent) {
        int children = 0;
        for (int i = 0; i < n; ++i)
            children += effector(i).parent == parent ? 1 : 0;
        if (children >= model::kMaxChildren)
            return model::tooManyChildrenMessage(effectorName(parent));
    }
    effector(child).parent = parent;
    rebuildChildren();
    return std::nullopt;
}

void EffectorEditor::rebuildChildren() {
    const int n = count();
    for (int i = 0; i < n; ++i) {
        effector(i).childCount = 0;
        effector(i).children.fill(0);
    }
    for (int i = 0; i < n; ++i) {
        const int p = effector(i).parent;
        if (p < 0 || p >= n)
            continue;
        EffectorRecord& parent = effector(p);
        if (parent.childCount < model::kMaxChildren)
            parent.children[static_cast<std::size_t>(parent.childCount++)] = i;
    }
}

std::optional<std::string> EffectorEditor::less(const EffectorFields& edited) {
    apply(edited);
    refresh();
    if (effectorsFitTemplate(working_))
        return std::nullopt;
    return std::string(kNoLongerFitsMessage);
}

std::optional<std::string> EffectorEditor::accept(const EffectorFields& edited) {
    std::optional<std::string> refusal = apply(edited);
    if (!refusal)
        refusal = validateEffectors(working_);
    if (refusal) {
        reduceDriverCodes(working_);
        refresh();
    }
    return refusal;
}

} // namespace kv::app
