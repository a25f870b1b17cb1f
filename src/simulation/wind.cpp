#include "simulation/wind.h"

namespace kv::sim {

void updateWind(SimObject& /*obj*/, const Environment& /*environment*/, float /*dt*/) {}

} // namespace kv::sim
