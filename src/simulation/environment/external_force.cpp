#include "simulation/environment/external_force.h"

namespace kv::sim {

ForceSet ExternalForceSet(const BodyState& /*state*/, const SimObject& obj,
                          const Environment& environment) {
    const ExternalForceSettings& settings = environment.externalForce;
    Vec3 force;
    VecMulElem(settings.force, obj.controls.externalForceMultipliers, force);

    Vec3 point = settings.point;
    Vec3 moment = settings.moment;
    if (settings.axes == kExternalEarthAxes) {
        const Vec3 earthForce = force;
        const Vec3 earthPoint = point;
        const Vec3 earthMoment = moment;
        MatVec3(obj.earthToBody, earthForce, force);
        MatVec3(obj.earthToBody, earthPoint, point);
        MatVec3(obj.earthToBody, earthMoment, moment);
    }

    ForceSet set;
    set.force = force;
    VecCross(point, force, set.moment);
    VecAdd(set.moment, moment, set.moment);
    return set;
}

} // namespace kv::sim
