#include "app/customize/effector_validation.h"

#include "app/customize/effector_driver_lists.h"
#include "model/driver_codes.h"
#include "model/object_model.h"

#include <algorithm>
#include <vector>

namespace kv::app {

namespace {

using model::EffectorRecord;
using model::ObjectRecord;

bool isTire(const EffectorRecord& e) {
    return e.kind == model::kEffectorTire || e.kind == model::kEffectorSkid;
}
bool isStrut(const EffectorRecord& e) {
    return model::isStrutCode(e.drivers[model::kDofDown]);
}
bool isPivot(const EffectorRecord& e) {
    return model::isPivotCode(e.drivers[model::kDofPitch]);
}

int count(const ObjectRecord& r) {
    return std::clamp(r.effectorCount, 0, model::kMaxEffectors);
}

EffectorRecord& at(ObjectRecord& r, int i) {
    return r.effectors[static_cast<std::size_t>(i)];
}
const EffectorRecord& at(const ObjectRecord& r, int i) {
    return r.effectors[static_cast<std::size_t>(i)];
}

std::string quoted(const EffectorRecord& e) {
    return "\"" + model::recordName(e.name) + "\"";
}

void zeroSound(ObjectRecord& r, int i) {
    EffectorRecord& e = at(r, i);
    e.radius = 0.0f;
    e.width = 0.0f;
    for (int d = 0; d < 6; ++d) {
        e.offsets[static_cast<std::size_t>(d)] = 0.0f;
        if (d != model::kDofRoll) {
            e.drivers[static_cast<std::size_t>(d)] = model::kDriverNone;
            e.scales[static_cast<std::size_t>(d)] = 0.0f;
        }
    }
    const int parent = e.parent;
    if (parent < 0 || parent >= count(r)) {
        e.drivers[model::kDofRoll] = model::kDriverTachometer;
        e.scales[model::kDofRoll] = 1.0f;
    } else if (isTire(at(r, parent))) {
        e.drivers[model::kDofRoll] = model::kDriverSkidIndicator + model::tireNumberOf(r, parent);
        e.scales[model::kDofRoll] = 1.0f;
    } else {
        e.drivers[model::kDofRoll] = model::kDriverNone;
        e.scales[model::kDofRoll] = 0.0f;
    }
}

std::optional<std::string> checkTirePlace(const ObjectRecord& r, int i) {
    const EffectorRecord& tire = at(r, i);
    int tires = 0, pivots = 0;
    bool strut = false;
    int steps = 0;
    for (int e = i; e >= 0 && e < count(r) && steps <= model::kMaxEffectors;
         e = at(r, e).parent, ++steps) {
        const EffectorRecord& link = at(r, e);
        tires += isTire(link) ? 1 : 0;
        strut = strut || isStrut(link);
        pivots += isPivot(link) ? 1 : 0;
    }
    const std::string head = "The " + quoted(tire) + " " + tireKindWord(tire.kind) + " effector ";
    if (tires > 1)
        return head + "cannot be the child or parent of another tire or skid effector.";
    if (strut && pivots > 0)
        return head + "may only be attached to a strut or a pivot, not both.";
    if (!strut && pivots == 0)
        return head + "must be attached to a strut or a pivot.";
    if (pivots > 1)
        return head + "may be attached to no more than one pivot.";
    if (model::countTires(r) > model::kMaxTires)
        return model::tooManyTiresMessage();
    return std::nullopt;
}

/// Tires found below `i` (itself included); a tire ends the search down its branch.
void findTiresBelow(const ObjectRecord& r, int i, std::vector<int>& found, int depth = 0) {
    if (depth > model::kMaxEffectors)
        return;
    if (isTire(at(r, i))) {
        found.push_back(i);
        return;
    }
    const EffectorRecord& e = at(r, i);
    const int children = std::clamp(e.childCount, 0, model::kMaxChildren);
    for (int c = 0; c < children; ++c) {
        const int child = e.children[static_cast<std::size_t>(c)];
        if (child >= 0 && child < count(r) && at(r, child).parent == i)
            findTiresBelow(r, child, found, depth + 1);
    }
}

} // namespace

const char* tireKindWord(int kind) {
    return kind == model::kEffectorSkid ? "skid" : "tire";
}

std::optional<std::string> validateEffectors(ObjectRecord& r) {
    const int n = count(r);
    for (int i = 0; i < n; ++i) {
        const EffectorRecord& e = at(r, i);
        if (e.kind == model::kEffectorSound) {
            zeroSound(r, i);
        } else if (isTire(e)) {
            if (auto message = checkTirePlace(r, i))
                return message;
        }
    }
    for (int i = 0; i < n; ++i) {
        EffectorRecord& e = at(r, i);
        const std::string head = "The " + quoted(e) + " effector ";
        if (isPivot(e)) {
            std::vector<int> found;
            findTiresBelow(r, i, found);
            if (found.empty())
                return head + "is a pivot and is not attached to a tire or skid effector.";
            if (found.size() > 1)
                return head + "is a pivot and is attached to more than one tire or skid effector.";
            e.drivers[model::kDofPitch] = model::kDriverPivot + model::tireNumberOf(r, found[0]);
        }
        if (isStrut(e)) {
            std::vector<int> found;
            findTiresBelow(r, i, found);
            if (found.empty())
                return head + "is a strut and is not attached to a tire or skid effector.";
            if (found.size() > 1)
                return head + "is a strut and is attached to more than one tire or skid effector.";
            e.drivers[model::kDofDown] =
                model::kDriverStrutCompression + model::tireNumberOf(r, found[0]);
        }
        if (model::isTireRollCode(e.drivers[model::kDofPitch])) {
            if (e.kind != model::kEffectorTire)
                return head + "can roll but is not a tire effector.";
            e.drivers[model::kDofPitch] = model::kDriverTireRoll + model::tireNumberOf(r, i);
        }
    }
    return std::nullopt;
}

void reduceDriverCodes(ObjectRecord& r) {
    for (int i = 0; i < count(r); ++i) {
        for (int& code : at(r, i).drivers)
            code = reducedDriverCode(code);
    }
}

} // namespace kv::app
