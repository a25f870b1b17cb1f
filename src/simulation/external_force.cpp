#include "simulation/external_force.h"

namespace kv::sim {

ForceSet computeExternalForce(const BodyState& /*state*/, const SimObject& /*obj*/,
                              const Environment& /*environment*/) {
    return ForceSet{};
}

} // namespace kv::sim
