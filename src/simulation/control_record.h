#pragma once
/// Raw controller input of one frame: five 4-byte words, for a vehicle or for
/// the camera.

#include <cstdint>

namespace kv::sim {

struct ControlRecord {
    std::int32_t command = 0; ///< key command code, 0 for none
    std::int32_t buttonA = 0; ///< first button, 0 or 1
    std::int32_t buttonB = 0; ///< second button, 0 or 1
    float stickX = 0.0f;      ///< horizontal axis -1..1, positive right
    float stickY = 0.0f;      ///< vertical axis -1..1, positive toward the user
};

static_assert(sizeof(ControlRecord) == 20);

} // namespace kv::sim
