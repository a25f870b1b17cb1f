#include "simulation/frame_record.h"

#include <algorithm>

namespace kv::sim {

using namespace model;

void fillFrameRecord(const SimObject& obj, MotionFrame& frame) {
    frame[kFrameTime] = obj.frameTime;
    for (int i = 0; i < 3; ++i) {
        frame[static_cast<std::size_t>(kFrameNorth + i)] =
            obj.position[static_cast<std::size_t>(i)] * kMetresPerFoot;
    }
    frame[kFrameRoll] = obj.roll * kDegPerRad;
    frame[kFramePitch] = obj.pitch * kDegPerRad;
    frame[kFrameYaw] = obj.yaw * kDegPerRad;

    const ControlBlock& c = obj.controls;
    for (int i = 0; i < kControlChannelCount; ++i) {
        frame[static_cast<std::size_t>(kFrameControls + i)] =
            c.channels[static_cast<std::size_t>(i)];
    }
    frame[kFramePropeller] = c.propellerAngle * kDegPerRad;
    frame[kFrameMainRotor] = c.mainRotorAngle * kDegPerRad;
    frame[kFrameConing] = c.coning * kDegPerRad;
    frame[kFrameFlapCos] = c.flapCos * kDegPerRad;
    frame[kFrameFlapSin] = c.flapSin * kDegPerRad;
    frame[kFrameMainPitch] = c.mainRotorPitch * kDegPerRad;
    frame[kFrameTailRotor] = c.tailRotorAngle * kDegPerRad;
    frame[kFrameTailPitch] = c.tailRotorPitch * kDegPerRad;
    frame[kFrameTireSteer] = c.tireSteer;
    frame[kFrameGear] = static_cast<float>(c.transmission);

    const ContactChannels& t = obj.contact;
    const int tires = std::clamp(t.tireCount, 0, kMaxTires);
    for (int k = 0; k < kMaxTires; ++k) {
        const auto ks = static_cast<std::size_t>(k);
        const bool present = k < tires;
        frame[static_cast<std::size_t>(kFrameStrut + k)] = present ? t.compression[ks] : 0.0f;
        frame[static_cast<std::size_t>(kFrameTireRoll + k)] =
            present ? t.rollAngle[ks] * kDegPerRad : 0.0f;
        frame[static_cast<std::size_t>(kFrameSkid + k)] = present ? t.skid[ks] : 0.0f;
    }
    frame[kFrameExternalForce] = static_cast<float>(c.externalForce);
    frame[kFrameTachometer] = obj.engine.tachometer;
}

void copyControlsToFrame(const ControlRecord& controls, MotionFrame& frame) {
    frame[kFrameStickX] = controls.stickX;
    frame[kFrameStickY] = controls.stickY;
    frame[kFrameButtonA] = static_cast<float>(controls.buttonA);
    frame[kFrameButtonB] = static_cast<float>(controls.buttonB);
    frame[kFrameKeyCommand] = static_cast<float>(controls.command);
}

void fillCameraFrame(const CameraRecord& camera, float time, MotionFrame& frame) {
    frame[kFrameTime] = time;
    for (int i = 0; i < 3; ++i) {
        const auto is = static_cast<std::size_t>(i);
        frame[static_cast<std::size_t>(kFrameNorth + i)] = camera.position[is];
        frame[static_cast<std::size_t>(kFrameRoll + i)] = camera.angles[is];
    }
}

} // namespace kv::sim
