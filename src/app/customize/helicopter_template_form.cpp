#include "app/customize/helicopter_template_form.h"

#include "model/driver_codes.h"
#include "model/object_model.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace kv::app {

namespace {

using model::EffectorRecord;
using model::ObjectRecord;

EffectorRecord& at(ObjectRecord& r, int i) {
    return r.effectors[static_cast<std::size_t>(i)];
}
const EffectorRecord& at(const ObjectRecord& r, int i) {
    return r.effectors[static_cast<std::size_t>(i)];
}

/// The gear prepared for an object without one (ft, deg).
struct GearWheel {
    const char* name;
    int strut;
    int roll;
    bool steer;
    float forward, right, down, yaw;
};
constexpr GearWheel kGear[3] = {
    {"NoseWheel", 21, 31, true, 8.0f, 0.0f, 6.0f, 0.0f},
    {"LeftMainTire", 22, 32, false, -4.0f, -4.0f, 6.0f, 180.0f},
    {"RightMainTire", 23, 33, false, -4.0f, 4.0f, 6.0f, 0.0f},
};
constexpr float kGearRadius = 0.5f;    // ft
constexpr float kGearWidth = 0.25f;    // ft
constexpr float kGearTravel = -0.5f;   // ft of strut per unit of compression
constexpr float kGearSteering = 30.0f; // deg

/// Removes effector `i` and renumbers every parent index above it.
void removeEffector(ObjectRecord& r, int i) {
    model::deleteEffector(r, i);
    for (int k = 0; k < r.effectorCount; ++k) {
        int& p = at(r, k).parent;
        if (p > i)
            --p;
        else if (p == i)
            p = -1;
    }
}

void addChild(ObjectRecord& r, int parent, int child) {
    EffectorRecord& p = at(r, parent);
    if (p.childCount < model::kMaxChildren)
        p.children[static_cast<std::size_t>(p.childCount++)] = child;
}

/// Brings the blades of `hub` to `wanted`, spread evenly in yaw.
std::optional<std::string> setBlades(ObjectRecord& r, int hub, int wanted, const char* nameFormat,
                                     std::string_view fullMessage) {
    const auto bladesOf = [&r, hub] {
        return hub == 0 ? helicopterParts(r).mainBlades : helicopterParts(r).tailBlades;
    };
    std::vector<int> blades = bladesOf();
    while (static_cast<int>(blades.size()) > wanted) {
        removeEffector(r, blades.back());
        blades = bladesOf();
    }
    while (static_cast<int>(blades.size()) < wanted) {
        if (r.effectorCount >= model::kMaxEffectors || at(r, hub).childCount >= model::kMaxChildren)
            return std::string(fullMessage);
        const int i = r.effectorCount++;
        at(r, i) = at(r, blades.front());
        at(r, i).childCount = 0;
        at(r, i).children.fill(0);
        char name[32];
        std::snprintf(name, sizeof name, nameFormat, static_cast<int>(blades.size()) + 1);
        model::setRecordName(at(r, i).name, name);
        addChild(r, hub, i);
        blades = bladesOf();
    }
    for (std::size_t k = 0; k < blades.size(); ++k)
        at(r, blades[k]).offsets[5] =
            360.0f * static_cast<float>(k) / static_cast<float>(blades.size());
    return std::nullopt;
}

/// Gives the gear's numbered drivers the tire numbers they follow now.
void numberGear(ObjectRecord& r, const std::vector<int>& gear, bool tires) {
    for (std::size_t k = 0; k < gear.size(); ++k) {
        EffectorRecord& e = at(r, gear[k]);
        const int number = model::tireNumberOf(r, gear[k]);
        e.kind = tires ? model::kEffectorTire : model::kEffectorSkid;
        e.drivers[model::kDofDown] = model::kDriverStrutCompression + number;
        // A skid slides: it does not roll and is not steered.
        e.drivers[model::kDofPitch] = tires ? model::kDriverTireRoll + number : model::kDriverNone;
        e.scales[model::kDofPitch] = tires ? 1.0f : 0.0f;
        if (k == 0) {
            e.drivers[model::kDofYaw] = tires ? model::kDriverTireSteer : model::kDriverNone;
            if (!tires)
                e.scales[model::kDofYaw] = 0.0f;
        }
    }
}

} // namespace

HelicopterParts helicopterParts(const ObjectRecord& r) {
    HelicopterParts parts;
    const int n = std::clamp(r.effectorCount, 0, model::kMaxEffectors);
    for (int i = 2; i < n; ++i) {
        const EffectorRecord& e = at(r, i);
        if (e.kind == model::kEffectorBlade && e.parent == 0)
            parts.mainBlades.push_back(i);
        else if (e.kind == model::kEffectorBlade && e.parent == 1)
            parts.tailBlades.push_back(i);
        else if ((e.kind == model::kEffectorTire || e.kind == model::kEffectorSkid) && e.parent < 0)
            parts.gear.push_back(i);
    }
    return parts;
}

int bladeCount(float typed) {
    return std::clamp(static_cast<int>(std::lround(typed)), kMinBlades, kMaxBlades);
}

TemplateForm helicopterTemplateForm(const ObjectRecord& r) {
    const HelicopterParts parts = helicopterParts(r);
    const EffectorRecord& main = at(r, parts.mainBlades.empty() ? 0 : parts.mainBlades.front());
    const EffectorRecord& tail = at(r, parts.tailBlades.empty() ? 1 : parts.tailBlades.front());
    TemplateForm f;
    f.title = "Helicopter Effector Template";
    addTemplateField(f, "Main Rotor Back", TemplateUnit::Length, -at(r, 0).offsets[0]);
    addTemplateField(f, "Main Rotor Up", TemplateUnit::Length, -at(r, 0).offsets[2]);
    addTemplateField(f, "Tail Rotor Back", TemplateUnit::Length, -at(r, 1).offsets[0]);
    addTemplateField(f, "Tail Rotor Right", TemplateUnit::Length, at(r, 1).offsets[1]);
    addTemplateField(f, "Tail Rotor Up", TemplateUnit::Length, -at(r, 1).offsets[2]);
    addTemplateField(f, "Main Blades", TemplateUnit::Count,
                     static_cast<float>(parts.mainBlades.size()));
    addTemplateField(f, "Tail Blades", TemplateUnit::Count,
                     static_cast<float>(parts.tailBlades.size()));
    addTemplateField(f, "Main Blade Length", TemplateUnit::Length, main.radius);
    addTemplateField(f, "Main Blade Chord", TemplateUnit::Length, main.width);
    addTemplateField(f, "Tail Blade Length", TemplateUnit::Length, tail.radius);
    addTemplateField(f, "Tail Blade Chord", TemplateUnit::Length, tail.width);
    if (parts.gear.size() == 3) {
        const EffectorRecord& nose = at(r, parts.gear[0]);
        const EffectorRecord& right = at(r, parts.gear[2]);
        addTemplateField(f, "Nose Gear Forward", TemplateUnit::Length, nose.offsets[0]);
        addTemplateField(f, "Main Gear Back", TemplateUnit::Length, -right.offsets[0]);
        addTemplateField(f, "Main Gear Track", TemplateUnit::Length, 2.0f * right.offsets[1]);
        addTemplateField(f, "Gear Height", TemplateUnit::Length, nose.offsets[2]);
        addTemplateField(f, "Wheel Radius", TemplateUnit::Length, nose.radius);
        addTemplateField(f, "Wheel Width", TemplateUnit::Length, nose.width);
        addTemplateField(f, "Strut Travel", TemplateUnit::Length, std::fabs(nose.scales[2]));
        addTemplateField(f, "Nose-Wheel Steering (deg)", TemplateUnit::Degrees, nose.scales[5]);
        f.gear = nose.kind == model::kEffectorSkid ? kGearSkids : kGearTires;
    } else {
        addTemplateField(f, "Nose Gear Forward", TemplateUnit::Length, kGear[0].forward);
        addTemplateField(f, "Main Gear Back", TemplateUnit::Length, -kGear[2].forward);
        addTemplateField(f, "Main Gear Track", TemplateUnit::Length, 2.0f * kGear[2].right);
        addTemplateField(f, "Gear Height", TemplateUnit::Length, kGear[0].down);
        addTemplateField(f, "Wheel Radius", TemplateUnit::Length, kGearRadius);
        addTemplateField(f, "Wheel Width", TemplateUnit::Length, kGearWidth);
        addTemplateField(f, "Strut Travel", TemplateUnit::Length, std::fabs(kGearTravel));
        addTemplateField(f, "Nose-Wheel Steering (deg)", TemplateUnit::Degrees, kGearSteering);
        f.gear = kGearNone;
    }
    return f;
}

std::optional<std::string> writeHelicopterTemplate(const std::vector<float>& v, int gear,
                                                   ObjectRecord& r) {
    at(r, 0).offsets[0] = -v[kHeliMainHubBack];
    at(r, 0).offsets[2] = -v[kHeliMainHubUp];
    at(r, 1).offsets[0] = -v[kHeliTailHubBack];
    at(r, 1).offsets[1] = v[kHeliTailHubRight];
    at(r, 1).offsets[2] = -v[kHeliTailHubUp];

    // Gear first: removing it frees slots for blades.
    if (gear == kGearNone) {
        std::vector<int> existing = helicopterParts(r).gear;
        for (auto it = existing.rbegin(); it != existing.rend(); ++it)
            removeEffector(r, *it);
    } else if (helicopterParts(r).gear.empty()) {
        if (r.effectorCount + 3 > model::kMaxEffectors)
            return model::tooManyEffectorsMessage();
        for (const GearWheel& w : kGear) {
            const int i = r.effectorCount++;
            EffectorRecord& e = at(r, i);
            e = EffectorRecord{};
            model::setRecordName(e.name, w.name);
            e.kind = gear == kGearSkids ? model::kEffectorSkid : model::kEffectorTire;
            e.offsets[0] = w.forward;
            e.offsets[1] = w.right;
            e.offsets[2] = w.down;
            e.offsets[5] = w.yaw;
            e.drivers[model::kDofYaw] = w.steer ? model::kDriverTireSteer : model::kDriverNone;
            e.scales[model::kDofYaw] = w.steer ? kGearSteering : 0.0f;
            e.scales[model::kDofPitch] = 1.0f;
        }
        // The template's tire block describes one wheel; the two added ones
        // start with the same suspension, drive and brakes.
        const int first = model::tireNumberOf(r, helicopterParts(r).gear.front());
        for (int k = first + 1; k < std::min(first + 3, model::kMaxTires); ++k) {
            const auto from = static_cast<std::size_t>(first), to = static_cast<std::size_t>(k);
            r.tires.spring[to] = r.tires.spring[from];
            r.tires.damping[to] = r.tires.damping[from];
            r.tires.drive[to] = r.tires.drive[from];
            r.tires.brake[to] = r.tires.brake[from];
        }
    }

    if (auto refusal = setBlades(r, 0, bladeCount(v[kHeliMainBlades]), "MainRotorBlade%d",
                                 kMainBladesFullMessage))
        return refusal;
    if (auto refusal = setBlades(r, 1, bladeCount(v[kHeliTailBlades]), "TailRotorBlade%d",
                                 kTailBladesFullMessage))
        return refusal;
    const HelicopterParts parts = helicopterParts(r);
    for (int b : parts.mainBlades) {
        at(r, b).radius = v[kHeliMainBladeLength];
        at(r, b).width = v[kHeliMainBladeChord];
    }
    for (int b : parts.tailBlades) {
        at(r, b).radius = v[kHeliTailBladeLength];
        at(r, b).width = v[kHeliTailBladeChord];
    }

    if (gear != kGearNone && parts.gear.size() == 3) {
        const float half = v[kHeliGearTrack] / 2.0f;
        at(r, parts.gear[0]).offsets[0] = v[kHeliGearForward];
        at(r, parts.gear[0]).offsets[1] = 0.0f;
        at(r, parts.gear[1]).offsets[0] = -v[kHeliGearBack];
        at(r, parts.gear[1]).offsets[1] = -half;
        at(r, parts.gear[2]).offsets[0] = -v[kHeliGearBack];
        at(r, parts.gear[2]).offsets[1] = half;
        for (int g : parts.gear) {
            EffectorRecord& e = at(r, g);
            e.offsets[2] = v[kHeliGearHeight];
            e.radius = v[kHeliWheelRadius];
            e.width = v[kHeliWheelWidth];
            e.scales[2] = -std::fabs(v[kHeliGearTravel]);
        }
        at(r, parts.gear[0]).scales[5] = v[kHeliNoseSteering];
        numberGear(r, parts.gear, gear == kGearTires);
    }
    return std::nullopt;
}

} // namespace kv::app
