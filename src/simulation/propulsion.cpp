#include "simulation/propulsion.h"

namespace kv::sim {

void computePropulsion(int /*stage*/, const BodyState& /*state*/, SimObject& obj) {
    obj.forces.propulsion.clear();
}

} // namespace kv::sim
