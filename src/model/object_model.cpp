#include "model/object_model.h"

#include "model/driver_codes.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>

namespace kv::model {

void resetObject(ObjectRecord& r) {
    // Unlisted fields (name, engine power, aero coefficients, tire settings, ...)
    // are cleared too, so that a reset record is fully defined.
    const std::int32_t reserved = r.reserved0;
    r = ObjectRecord{};
    r.reserved0 = reserved;
    r.vehicleType = kVehicleCar;
    r.role = kRoleInteractive;
    r.recordChannel = -1;
    r.initial = InitialConditions{};
    r.mass.mass = kResetMass;
    // The inertia starts as a diagonal of the same huge value as the mass: a
    // positive definite tensor, so that even a reset object integrates sanely.
    r.mass.inertia = {kResetMass, 0, 0, 0, kResetMass, 0, 0, 0, kResetMass};
    r.mass.massScale = {1.0f, 1.0f, 1.0f, 1.0f};
    r.mass.rollPitchCoupling = 1.0f;
    r.mass.rollYawCoupling = 1.0f;
    r.mass.pitchYawCoupling = 1.0f;
    r.tires.tireCount = 0;
    r.engineType = kEngineNone;
    r.engineScale = 1.0f;
    r.aero.aeroModel = kAeroLinear;
    r.collisionFriction = 0.0f;
    r.collisionSpring = 1.0f;
    r.collisionDamping = 1.0f;
    r.geometryTransform = GeometryTransform{};
    r.color = kColorWhite;
    r.transparency = kSolid;
    r.effectorCount = 0;
}

void resetCamera(ObjectRecord& r) {
    resetObject(r);
    r.vehicleType = kVehicleNone;
    r.color = kColorBlack;
}

bool checkEffectorTree(const ObjectRecord& r) {
    const int n = std::clamp(r.effectorCount, 0, kMaxEffectors);
    for (int i = 0; i < n; ++i) {
        int p = r.effectors[static_cast<std::size_t>(i)].parent;
        int steps = 0;
        while (p != -1) {
            if (p < 0 || p >= n || ++steps > kMaxEffectors) {
                return false;
            }
            p = r.effectors[static_cast<std::size_t>(p)].parent;
        }
    }
    return true;
}

void deleteEffector(ObjectRecord& r, int index) {
    const int n = std::clamp(r.effectorCount, 0, kMaxEffectors);
    if (index < 0 || index >= n) {
        return;
    }
    for (int i = 0; i < n; ++i) {
        auto& e = r.effectors[static_cast<std::size_t>(i)];
        const int count = std::clamp(e.childCount, 0, kMaxChildren);
        int kept = 0;
        for (int c = 0; c < count; ++c) {
            int child = e.children[static_cast<std::size_t>(c)];
            if (child == index) {
                continue;
            }
            if (child > index) {
                --child;
            }
            e.children[static_cast<std::size_t>(kept++)] = child;
        }
        e.childCount = kept;
    }
    for (int i = index; i + 1 < n; ++i) {
        r.effectors[static_cast<std::size_t>(i)] = r.effectors[static_cast<std::size_t>(i + 1)];
    }
    r.effectorCount = n - 1;
}

namespace {
bool isTireKind(int kind) { return kind == kEffectorTire || kind == kEffectorSkid; }
} // namespace

int countTires(const ObjectRecord& r) {
    const int n = std::clamp(r.effectorCount, 0, kMaxEffectors);
    int count = 0;
    for (int i = 0; i < n; ++i) {
        if (isTireKind(r.effectors[static_cast<std::size_t>(i)].kind)) ++count;
    }
    return count;
}

void deriveRunLimits(ObjectRecord& r) {
    r.tires.tireCount = std::min(countTires(r), kMaxTires);
    r.aero.aileronLimit = kDefaultSurfaceLimit;
    r.aero.elevatorLimit = kDefaultSurfaceLimit;
    r.aero.rudderLimit = kDefaultSurfaceLimit;
    r.nozzleLimit = kDefaultNozzleLimit;
    const int n = std::clamp(r.effectorCount, 0, kMaxEffectors);
    for (int i = 0; i < n; ++i) {
        const auto& e = r.effectors[static_cast<std::size_t>(i)];
        const float pitchScale = std::fabs(e.scales[kDofPitch]);
        switch (e.drivers[kDofPitch]) {
        case kDriverAileron:
            r.aero.aileronLimit = pitchScale;
            break;
        case kDriverElevator:
            r.aero.elevatorLimit = pitchScale;
            break;
        case kDriverNozzle:
            r.nozzleLimit = pitchScale;
            break;
        default:
            break;
        }
        if (e.drivers[kDofYaw] == kDriverRudder) {
            r.aero.rudderLimit = std::fabs(e.scales[kDofYaw]);
        }
    }
}

int tireNumberOf(const ObjectRecord& r, int index) {
    const int n = std::clamp(r.effectorCount, 0, kMaxEffectors);
    if (index < 0 || index >= n || !isTireKind(r.effectors[static_cast<std::size_t>(index)].kind)) {
        return -1;
    }
    int number = 0;
    for (int i = 0; i < index; ++i) {
        if (isTireKind(r.effectors[static_cast<std::size_t>(i)].kind)) ++number;
    }
    return number;
}

std::string recordName(const std::array<char, kNameChars>& field) {
    const auto* end = std::find(field.begin(), field.end(), '\0');
    return std::string(field.begin(), end);
}

void setRecordName(std::array<char, kNameChars>& field, std::string_view name) {
    field.fill('\0');
    const std::size_t n = std::min<std::size_t>(name.size(), kMaxNameLength);
    std::memcpy(field.data(), name.data(), n);
}

std::string tooManyEffectorsMessage() {
    return "There can be no more than the maximum of " + std::to_string(kMaxEffectors) +
           " effectors.";
}

std::string tooManyChildrenMessage(std::string_view effectorName) {
    return "The \"" + std::string(effectorName) + "\" effector can have no more than " +
           std::to_string(kMaxChildren) + " children.";
}

std::string tooManyTiresMessage() {
    return "There can be no more than the maximum of " + std::to_string(kMaxTires) +
           " tire or skid effectors.";
}

std::string circularReferenceMessage(std::string_view child, std::string_view parent) {
    return "The \"" + std::string(child) + "\" effector cannot be a child of the \"" +
           std::string(parent) + "\" effector because it introduces a circular reference.";
}

std::string checkCanAddEffector(const ObjectRecord& r, int kind) {
    if (r.effectorCount >= kMaxEffectors) {
        return tooManyEffectorsMessage();
    }
    if (isTireKind(kind) && countTires(r) >= kMaxTires) {
        return tooManyTiresMessage();
    }
    return {};
}

std::string checkCanAddChild(const ObjectRecord& r, int parent) {
    if (parent < 0 || parent >= std::clamp(r.effectorCount, 0, kMaxEffectors)) {
        return {};
    }
    const auto& e = r.effectors[static_cast<std::size_t>(parent)];
    if (e.childCount >= kMaxChildren) {
        return tooManyChildrenMessage(recordName(e.name));
    }
    return {};
}

} // namespace kv::model
