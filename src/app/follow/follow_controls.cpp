#include "app/follow/follow_controls.h"

#include "app/input/input_keys.h"

#include <algorithm>
#include <cmath>

namespace kv::app {

FollowerView followerViewOf(const sim::Slot& slot) {
    const sim::SimObject& o = slot.sim;
    FollowerView v;
    v.vehicleType = slot.autopilot.vehicleType;
    v.time = static_cast<double>(o.frameTime);
    v.north = static_cast<double>(o.position[0]);
    v.east = static_cast<double>(o.position[1]);
    v.up = -static_cast<double>(o.position[2]);
    v.velocityNorth = static_cast<double>(o.earthVelocity[0]);
    v.velocityEast = static_cast<double>(o.earthVelocity[1]);
    v.climbRate = -static_cast<double>(o.earthVelocity[2]);
    v.forwardSpeed = static_cast<double>(o.state.velocity[0]);
    v.yaw = static_cast<double>(o.yaw);
    v.roll = static_cast<double>(o.roll);
    v.yawRate = static_cast<double>(o.state.rates[2]);
    v.onGround = o.groundContact.inContact;
    v.autopilotEngaged = slot.autopilot.engaged;
    v.throttleLever = static_cast<double>(slot.autopilot.levers.throttle);
    v.rudderOffset = static_cast<double>(slot.autopilot.levers.rudderOffset);
    v.heldSpeedLow = static_cast<double>(slot.autopilot.holds.speedLow);
    v.heldSpeedHigh = static_cast<double>(slot.autopilot.holds.speedHigh);
    // The steering geometry as a driver knows it: how far the wheels turn at
    // full lock (seen from the wheels at the present input) and the wheelbase.
    const auto& gc = o.groundContact;
    float front = -1e30f;
    float rear = 1e30f;
    float steer = 0.0f;
    for (int i = 0; i < gc.effectorCount; ++i) {
        const auto& e = gc.effectors[static_cast<std::size_t>(i)];
        if (!e.isTire)
            continue;
        front = std::max(front, e.attach[0]);
        rear = std::min(rear, e.attach[0]);
        steer = std::max(steer, std::fabs(e.steer));
    }
    if (front > rear)
        v.wheelbase = static_cast<double>(front - rear);
    const float input = std::fabs(o.controls.tireSteer);
    if (input > 0.05f && steer > 0.0f)
        v.fullSteerAngle = static_cast<double>(steer / input);
    return v;
}

void FollowControls::readControls(const sim::CameraRecord& camera, sim::ControlRecord& vehicle,
                                  sim::ControlRecord& cameraControls) {
    sim::ControlRecord person;
    inner_.readControls(camera, person, cameraControls);
    if (run_.slotCount < 1) {
        vehicle = person;
        return;
    }
    const sim::ControlRecord driven = follower_.step(followerViewOf(run_.slots[0]));
    vehicle = driven;
    if (vehicle.command == 0)
        vehicle.command = person.command;
    if (follower_.finished() && !escapeSent_ && input_.pendingKey == kKeyNone) {
        input_.pendingKey = kKeyEscape;
        escapeSent_ = true;
    }
}

} // namespace kv::app
