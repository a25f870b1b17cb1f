#pragma once
/// What one physics step needs from the run besides the object itself.

#include "common/ports/messages.h"
#include "simulation/environment/environment.h"

namespace kv::sim {

struct StepContext {
    float dt; ///< physics step (s)
    const Environment& environment;
    MessagePort& messages; ///< where an instability is reported
    bool& stop;            ///< the run's stop flag; set by an instability
};

} // namespace kv::sim
