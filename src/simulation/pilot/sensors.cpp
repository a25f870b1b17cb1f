#include "simulation/pilot/sensors.h"

#include "common/unit_constants.h"
#include "simulation/environment/atmosphere.h"

#include <algorithm>
#include <cmath>

namespace kv::sim {

namespace {

/// 1/0.0023769, the sea-level density's inverse (ft^3/slug): indicated over
/// true airspeed is the square root of this times the density.
constexpr float kInverseSeaLevelDensity = 420.71603f;

} // namespace

void UpdateSensors(const SimObject& obj, SensorRecord& sensors) {
    sensors.onGround = obj.groundContact.inContact ? 1.0f : 0.0f;
    sensors.loadFactor = obj.loadFactor;
    for (std::size_t i = 0; i < 3; ++i) {
        sensors.rates[i] = obj.state.rates[i] * kDegPerRad;
    }
    sensors.roll = obj.roll * kDegPerRad;
    sensors.pitch = obj.pitch * kDegPerRad;
    sensors.yaw = obj.yaw * kDegPerRad;
    sensors.alpha = obj.alpha * kDegPerRad;
    sensors.beta = obj.beta * kDegPerRad;
    sensors.pressureAltitude = obj.state.altitude;

    const AtmosphereSample air = SampleAtmosphere(std::max(obj.state.altitude, 0.0f));
    sensors.trueAirspeed = obj.airspeed * kKnotsPerFps;
    sensors.indicatedAirspeed =
        sensors.trueAirspeed * std::sqrt(kInverseSeaLevelDensity * air.density);
    sensors.verticalSpeed = obj.climbRate * 60.0f;
    sensors.totalTemperature = air.temperature * (1.0f + 0.2025f * obj.mach * obj.mach);
    sensors.gearPosition = obj.controls.channels[kGear];
}

} // namespace kv::sim
