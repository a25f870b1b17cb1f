#include "simulation/pilot/pilot_stages.h"

#include <algorithm>

namespace kv::sim {

void carLaws(AutopilotState& pilot, CommandRecord& command) {
    const PilotLevers& levers = pilot.levers;
    float throttle = levers.throttle;
    float brake = levers.brake;

    if (pilot.speedMode == kModeSpeedHold) {
        float& i = pilot.integrators.throttle;
        if (levers.brake > 0.0f) {
            // Braking in cruise hands the car back to the driver.
            i = 0.0f;
            pilot.engaged = false;
        } else {
            const float error = pilot.holds.speed * kFpsPerKnot - pilot.sensed.indicatedAirspeed;
            const float demand = std::clamp(0.5f + 0.1f * error + i, 0.0f, 1.0f);
            throttle = std::max(0.0f, 2.0f * demand - 1.0f);
            if (levers.throttle > throttle) {
                throttle = levers.throttle;
                i = 0.0f;
            }
        }
    }

    throttle = std::clamp(throttle, 0.0f, 1.0f);
    pilot.lastThrottle = throttle;

    command.autopilotEngaged = engagedWord(pilot);
    command.pilotStatus = levers.brakeHold ? 1 : 0;
    command.transmission = levers.transmission;
    command.channels.fill(0.0f);
    command.channels[kThrottle] = throttle;
    command.channels[kBrake] = std::clamp(brake, 0.0f, 1.0f);
    command.tireSteer = std::clamp(levers.steering, -1.0f, 1.0f);
}

} // namespace kv::sim
