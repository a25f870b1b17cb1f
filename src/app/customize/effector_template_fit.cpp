#include "app/customize/effector_template_fit.h"

#include "app/customize/effector_frames.h"
#include "app/customize/helicopter_template_form.h"
#include "common/vecmath.h"
#include "model/template.h"

#include <cmath>

namespace kv::app {

namespace {

using model::EffectorRecord;
using model::ObjectRecord;

const EffectorRecord& at(const ObjectRecord& r, int i) {
    return r.effectors[static_cast<std::size_t>(i)];
}
bool same(float a, float b) {
    return CompareTol(a, b) == 0;
}

/// The template of `type` applied to an empty record.
const ObjectRecord& templateOf(std::int32_t type) {
    static const auto build = [](std::int32_t t) {
        ObjectRecord r;
        r.vehicleType = t;
        model::applyTemplate(r);
        return r;
    };
    static const ObjectRecord templates[4] = {build(0), build(1), build(2), build(3)};
    return templates[type];
}

/// At least the template's effectors, with its kinds and parents.
bool sameShape(const ObjectRecord& r, std::int32_t type, int upTo = -1) {
    const ObjectRecord& t = templateOf(type);
    const int n = upTo < 0 ? t.effectorCount : upTo;
    if (r.effectorCount < n || r.effectorCount > model::kMaxEffectors)
        return false;
    for (int i = 0; i < n; ++i) {
        if (at(r, i).kind != at(t, i).kind || at(r, i).parent != at(t, i).parent)
            return false;
    }
    return true;
}

bool allSame(const ObjectRecord& r, std::initializer_list<int> list,
             float (*get)(const EffectorRecord&)) {
    const float first = get(at(r, *list.begin()));
    for (int i : list) {
        if (!same(get(at(r, i)), first))
            return false;
    }
    return true;
}

float downOffset(const EffectorRecord& e) {
    return e.offsets[2];
}
float downScale(const EffectorRecord& e) {
    return e.scales[2];
}
float radius(const EffectorRecord& e) {
    return e.radius;
}
float width(const EffectorRecord& e) {
    return e.width;
}

} // namespace

bool carFitsTemplate(const ObjectRecord& r) {
    if (!sameShape(r, model::kVehicleCar))
        return false;
    const auto fwd = [&](int i) { return at(r, i).offsets[0]; };
    const auto right = [&](int i) { return std::fabs(at(r, i).offsets[1]); };
    return same(fwd(0), fwd(1)) && same(fwd(2), fwd(3)) && same(right(0), right(1)) &&
           same(right(0), right(2)) && same(right(0), right(3)) &&
           allSame(r, {0, 1, 2, 3}, downOffset) && allSame(r, {0, 1, 2, 3}, downScale) &&
           allSame(r, {0, 1, 2, 3}, radius) && allSame(r, {0, 1, 2, 3}, width) &&
           same(at(r, 0).scales[5], at(r, 1).scales[5]);
}

bool motorcycleFitsTemplate(const ObjectRecord& r) {
    if (!sameShape(r, model::kVehicleMotorcycle))
        return false;
    // The rear wheel's travel (swing-arm length x pitch scale in radians)
    // must equal the fork's.
    const Vec3 rearPivot = effectorFrame(r, 4).position;
    const Vec3 rearTire = effectorFrame(r, 5).position;
    const float arm = VecLength(VecSub(rearPivot, rearTire));
    const float rearTravel = static_cast<float>(static_cast<double>(arm) *
                                                std::fabs(static_cast<double>(at(r, 4).scales[4])) *
                                                0.017453292519943278);
    return same(std::fabs(at(r, 2).scales[2]), rearTravel);
}

bool aircraftFitsTemplate(const ObjectRecord& r) {
    if (!sameShape(r, model::kVehicleAircraft))
        return false;
    const ObjectRecord& t = templateOf(model::kVehicleAircraft);
    for (int pivot : {0, 2, 4}) {
        const EffectorRecord& e = at(r, pivot);
        if (e.childCount < at(t, pivot).childCount || e.children[0] != at(t, pivot).children[0])
            return false;
    }
    const auto height = [&](int pivot) {
        return at(r, pivot).offsets[2] + at(r, pivot + 1).offsets[2];
    };
    return same(at(r, 2).offsets[0], at(r, 4).offsets[0]) &&
           same(at(r, 2).offsets[1], -at(r, 4).offsets[1]) && allSame(r, {1, 3, 5}, downScale) &&
           allSame(r, {1, 3, 5}, radius) && allSame(r, {1, 3, 5}, width) &&
           same(height(0), height(2)) && same(height(0), height(4));
}

bool helicopterFitsTemplate(const ObjectRecord& r) {
    if (!sameShape(r, model::kVehicleHelicopter, 2))
        return false;
    const HelicopterParts parts = helicopterParts(r);
    for (const std::vector<int>* blades : {&parts.mainBlades, &parts.tailBlades}) {
        if (blades->size() < 2)
            return false;
        const EffectorRecord& first = at(r, blades->front());
        for (int b : *blades) {
            const EffectorRecord& e = at(r, b);
            if (!same(e.radius, first.radius) || !same(e.width, first.width) ||
                e.drivers != first.drivers)
                return false;
        }
    }
    if (parts.gear.empty())
        return true;
    if (parts.gear.size() != 3)
        return false;
    const int nose = parts.gear[0], left = parts.gear[1], rightTire = parts.gear[2];
    const EffectorRecord& l = at(r, left);
    const EffectorRecord& rt = at(r, rightTire);
    return at(r, nose).kind == l.kind && l.kind == rt.kind && same(l.offsets[0], rt.offsets[0]) &&
           same(l.offsets[1], -rt.offsets[1]) && allSame(r, {nose, left, rightTire}, downOffset) &&
           allSame(r, {nose, left, rightTire}, downScale) &&
           allSame(r, {nose, left, rightTire}, radius) &&
           allSame(r, {nose, left, rightTire}, width);
}

bool effectorsFitTemplate(const ObjectRecord& r) {
    switch (r.vehicleType) {
    case model::kVehicleCar:
        return carFitsTemplate(r);
    case model::kVehicleMotorcycle:
        return motorcycleFitsTemplate(r);
    case model::kVehicleAircraft:
        return aircraftFitsTemplate(r);
    case model::kVehicleHelicopter:
        return helicopterFitsTemplate(r);
    default:
        return false;
    }
}

} // namespace kv::app
