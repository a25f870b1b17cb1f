#include "simulation/actuate_controls.h"

namespace kv::sim {

void ActuateControls(const CommandRecord& /*command*/, ControlBlock& /*controls*/, float /*dt*/) {}

} // namespace kv::sim
