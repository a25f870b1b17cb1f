#include "app/input/input_controls.h"

namespace kv::app {

int commandCodeForKey(int key) {
    switch (key) {
    case 'Q':
        return 1;
    case 'C':
        return 3;
    case 'D':
        return 4;
    case 'X':
        return 5;
    case 'S':
        return 6;
    case 'B':
        return 7;
    case 'W':
        return 8;
    case 'G':
        return 9;
    case 'F':
        return 10;
    case 'L':
        return 11;
    case 'K':
        return 12;
    case 'R':
        return 13;
    default:
        return 0;
    }
}

void distributeControls(const StickReading& r, const ControllerSettings& s, bool cameraControl,
                        int& pendingKey, sim::ControlRecord& vehicle, sim::ControlRecord& camera) {
    vehicle = sim::ControlRecord{};
    camera = sim::ControlRecord{};
    if (cameraControl) {
        camera.buttonA = r.buttonA;
        camera.buttonB = r.buttonB;
        camera.stickX = s.cameraReverseLeftRight ? -r.x : r.x;
        camera.stickY = s.cameraReverseUpDown ? -r.y : r.y;
    } else {
        vehicle.buttonA = r.buttonA;
        vehicle.buttonB = r.buttonB;
        vehicle.stickX = s.vehicleReverseLeftRight ? -r.x : r.x;
        vehicle.stickY = s.vehicleReverseUpDown ? -r.y : r.y;
    }
    const int code = commandCodeForKey(pendingKey);
    if (code != 0) {
        vehicle.command = code;
        pendingKey = kKeyNone;
    }
}

void DeviceControls::readControls(const sim::CameraRecord& camera, sim::ControlRecord& vehicle,
                                  sim::ControlRecord& cameraControls) {
    devices_ = DeviceState{};
    source_.sample(devices_);
    const StickReading r = ReadDevices(devices_, settings_, state_);
    distributeControls(r, settings_, camera.cameraControl != 0, state_.pendingKey, vehicle,
                       cameraControls);
}

} // namespace kv::app
