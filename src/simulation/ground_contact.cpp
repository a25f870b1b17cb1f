#include "simulation/ground_contact.h"

namespace kv::sim {

void computeGroundContact(int /*stage*/, const BodyState& /*state*/, SimObject& obj) {
    obj.forces.ground.clear();
}

} // namespace kv::sim
