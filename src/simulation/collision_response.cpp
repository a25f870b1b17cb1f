#include "simulation/collision_response.h"

namespace kv::sim {

void computeCollisionResponse(const BodyState& /*state*/, SimObject& obj) {
    obj.forces.collision.clear();
}

} // namespace kv::sim
