#pragma once
/// One recorded frame of an object's motion: 66 little-endian 32-bit fields
/// (264 bytes), single-precision floats; integer quantities are stored
/// converted to float.

#include "common/le_io.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

namespace kv::model {

inline constexpr int kFrameFieldCount = 66;
inline constexpr std::size_t kFrameSize = kFrameFieldCount * 4;

/// Time value that marks the end of a frame list (s).
inline constexpr float kFrameEndMarker = -999.0f;

/// Field indices of a motion frame.
enum FrameField : int {
    kFrameTime = 0,          ///< time since the start of the run (s)
    kFrameStickX = 1,        ///< controller horizontal axis, -1..1
    kFrameStickY = 2,        ///< controller vertical axis, -1..1
    kFrameButtonA = 3,       ///< first button, 0 or 1
    kFrameButtonB = 4,       ///< second button, 0 or 1
    kFrameKeyCommand = 5,    ///< key command code of the frame, 0 for none
    kFrameNorth = 6,         ///< centre of gravity north (m)
    kFrameEast = 7,          ///< east (m)
    kFrameDown = 8,          ///< down (m)
    kFrameRoll = 9,          ///< roll (deg)
    kFramePitch = 10,        ///< pitch (deg)
    kFrameYaw = 11,          ///< yaw (deg)
    kFrameControls = 12,     ///< 12 control channels (driver codes 1..12), bit for bit
    kFramePropeller = 24,    ///< propeller rotation angle (deg)
    kFrameMainRotor = 25,    ///< main rotor rotation angle (deg)
    kFrameConing = 26,       ///< main rotor coning (deg)
    kFrameFlapCos = 27,      ///< cosine flapping coefficient (deg)
    kFrameFlapSin = 28,      ///< sine flapping coefficient (deg)
    kFrameMainPitch = 29,    ///< main rotor blade pitch (deg)
    kFrameTailRotor = 30,    ///< tail rotor rotation angle (deg)
    kFrameTailPitch = 31,    ///< tail rotor blade pitch (deg)
    kFrameTireSteer = 32,    ///< tire steer value, bit for bit
    kFrameGear = 33,         ///< transmission gear, integer as float
    kFrameStrut = 34,        ///< strut compression of tires 0..9
    kFrameTireRoll = 44,     ///< roll angle of tires 0..9 (deg)
    kFrameExternalForce = 54,///< external force state, integer as float
    kFrameSkid = 55,         ///< skid indicator of tires 0..9
    kFrameTachometer = 65,   ///< engine tachometer fraction
};

using MotionFrame = std::array<float, kFrameFieldCount>;
using FrameImage = std::array<std::uint8_t, kFrameSize>;

inline void encodeFrame(const MotionFrame& f, std::span<std::uint8_t, kFrameSize> out) {
    for (std::size_t i = 0; i < f.size(); ++i) io::putF32(out.data() + 4 * i, f[i]);
}

inline void decodeFrame(std::span<const std::uint8_t, kFrameSize> in, MotionFrame& f) {
    for (std::size_t i = 0; i < f.size(); ++i) f[i] = io::getF32(in.data() + 4 * i);
}

/// The end marker frame: -999.0 then 65 zero fields.
inline MotionFrame endMarkerFrame() {
    MotionFrame f{};
    f[kFrameTime] = kFrameEndMarker;
    return f;
}

} // namespace kv::model
