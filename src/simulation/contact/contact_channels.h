#pragma once
/// Per-tire quantities that the contact model publishes for the effectors and
/// the recorded frames.

#include "model/object_record.h"

#include <array>

namespace kv::sim {

struct ContactChannels {
    int tireCount = 0; ///< tire and skid effectors of the object, 0..10
    std::array<float, model::kMaxTires> compression{}; ///< strut compression ratio of tire k
    std::array<float, model::kMaxTires> rollAngle{};   ///< wheel roll angle of tire k (rad)
    std::array<float, model::kMaxTires> skid{};        ///< skid indicator of tire k, 0..1
};

} // namespace kv::sim
