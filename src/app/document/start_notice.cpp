#include "app/document/start_notice.h"

#include <cstdio>

namespace kv::app {

namespace {

const char* vehicleNoun(std::int32_t vehicleType) {
    switch (vehicleType) {
    case model::kVehicleCar:
        return "car";
    case model::kVehicleMotorcycle:
        return "motorcycle";
    case model::kVehicleAircraft:
        return "aircraft";
    case model::kVehicleHelicopter:
        return "helicopter";
    default:
        return "object";
    }
}

} // namespace

std::string startedBelowGroundNotice(std::int32_t vehicleType, float liftFeet,
                                     const WorkingUnits& units) {
    const std::string_view unit = unitShortName(units.lengthUnitFactor);
    char text[160];
    std::snprintf(text, sizeof text, "The %s started %.1f %.*s below the ground and was placed on it.",
                  vehicleNoun(vehicleType),
                  static_cast<double>(liftFeet / units.lengthUnitFactor),
                  static_cast<int>(unit.size()), unit.data());
    return text;
}

std::vector<std::string> startNotices(const sim::RunState& run,
                                      std::span<const model::ObjectRecord> objects,
                                      const WorkingUnits& units) {
    std::vector<std::string> notices;
    for (int s = 0; s < run.slotCount; ++s) {
        const sim::Slot& slot = run.slots[static_cast<std::size_t>(s)];
        if (slot.startLift <= 0.0f || slot.objectIndex < 0 ||
            slot.objectIndex >= static_cast<int>(objects.size()))
            continue;
        notices.push_back(startedBelowGroundNotice(
            objects[static_cast<std::size_t>(slot.objectIndex)].vehicleType, slot.startLift, units));
    }
    return notices;
}

} // namespace kv::app
