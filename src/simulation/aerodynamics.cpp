#include "simulation/aerodynamics.h"

namespace kv::sim {

void computeAerodynamics(const AtmosphereSample& /*air*/, const BodyState& /*state*/,
                         SimObject& obj) {
    obj.forces.aero.clear();
}

} // namespace kv::sim
