#include "simulation/propulsion/rider_shift.h"

namespace kv::sim {

void RiderShift(SimObject& obj) {
    const Vec3 weightEarth{0.0f, 0.0f, kRiderWeight};
    Vec3 weight;
    MatVec3(obj.earthToBody, weightEarth, weight);

    const auto& c = obj.controls.channels;
    const Vec3 seat{kRiderLeanReach * c[kLongitudinalCyclic], kRiderLeanReach * c[kLateralCyclic],
                    -kRiderHeight};
    Vec3 moment;
    VecCross(seat, weight, moment);

    ForceSet& set = obj.forces.propulsion;
    VecAdd(set.force, weight, set.force);
    VecAdd(set.moment, moment, set.moment);
}

} // namespace kv::sim
