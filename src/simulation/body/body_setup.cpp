#include "simulation/body/body_setup.h"

#include "model/object_model.h"
#include "simulation/aero/aero_settings.h"
#include "simulation/aero/b747_model.h"
#include "simulation/environment/atmosphere.h"
#include "simulation/propulsion/propulsion_settings.h"

#include <algorithm>
#include <cmath>

namespace kv::sim {

void setUpBody(SimObject& obj, const model::ObjectRecord& record) {
    const int slot = obj.slot;
    obj = SimObject{};
    obj.slot = slot;
    obj.vehicleType = record.vehicleType;

    const model::InitialConditions& ic = record.initial;
    const float north = ic.position[0], east = ic.position[1], down = ic.position[2];
    obj.originLatitude = 0.0;
    obj.originLongitude = 0.0;
    NedToGeodetic(obj.originLatitude, obj.originLongitude, north, east, down, obj.state.latitude,
                  obj.state.longitude);
    obj.state.altitude = -down;
    obj.position = ic.position;

    obj.roll = ic.attitude[0] * kRadPerDeg;
    obj.pitch = ic.attitude[1] * kRadPerDeg;
    obj.yaw = ic.attitude[2] * kRadPerDeg;
    EulerToQuat(obj.roll, obj.pitch, obj.yaw, obj.state.quat);
    QuatToMatrix(obj.state.quat, obj.bodyToEarth, obj.earthToBody);

    obj.state.velocity = ic.velocity;
    obj.airVelocity = ic.velocity;
    obj.airspeed = VecLength(obj.airVelocity);
    obj.mach = obj.airspeed / SampleAtmosphere(-down).speedOfSound;
    obj.climbRate = 0.0f;
    obj.climbRatio = 0.0f;
    const float u = ic.velocity[0], v = ic.velocity[1], w = ic.velocity[2];
    if (std::fabs(u) > 0.0f) {
        obj.alpha = std::atan2(w, u);
        obj.beta = std::atan2(v, u);
    } else {
        obj.alpha = 0.0f;
        obj.beta = 0.0f;
    }
    obj.alphaDot = 0.0f;
    obj.betaDot = 0.0f;

    for (std::size_t i = 0; i < 3; ++i) {
        obj.state.rates[i] = ic.rates[i] * kRadPerDeg;
    }

    const model::MassProperties& mp = record.mass;
    obj.scales =
        MassScales{mp.massScale[0],      mp.massScale[1],    mp.massScale[2],    mp.massScale[3],
                   mp.rollPitchCoupling, mp.rollYawCoupling, mp.pitchYawCoupling};
    obj.mass = mp.mass * obj.scales.mass;
    const MassScales& s = obj.scales;
    const Mat3 factor{s.ixx, s.xy, s.xz, s.xy, s.iyy, s.yz, s.xz, s.yz, s.izz};
    for (std::size_t i = 0; i < 9; ++i) {
        obj.inertia[i] = mp.inertia[i] * factor[i];
    }

    obj.loadFactor = {0.0f, 0.0f, 1.0f};
    obj.frameTime = 0.0f;
    obj.simTime = 0.0f;
    obj.forces.clear();

    obj.contact.tireCount = std::clamp(model::countTires(record), 0, model::kMaxTires);
    obj.engine.engineType = record.engineType;
    obj.engine.power = record.enginePower;
    obj.engine.powerFactor = record.engineScale;
    obj.aeroModel.settings = aeroSettingsFrom(record);
    if (record.aero.aeroModel == model::kAero747) {
        scaleB747ToObject(obj.aeroModel.settings, obj.mass, obj.inertia);
    }
    obj.propulsionSettings = propulsionSettingsFrom(record);
}

} // namespace kv::sim
