#include "simulation/contact/body_point_contact.h"

#include <algorithm>
#include <cmath>

namespace kv::sim {

void addBodyPointContact(SimObject& obj, const GroundQuery& ground, const Vec3& velocity,
                         const Vec3& rates) {
    GroundContactState& g = obj.groundContact;
    const std::size_t count = g.points.size();
    if (count == 0)
        return;
    // Points surely above every surface under the body need no lookup: they
    // would find no contact. The margin (ft) covers the rounding of the
    // interpolated heights, so the forces are the same as with every lookup.
    constexpr float kClearMargin = 0.01f;
    const float reach = g.pointReach;
    const float clear = ground.highestIn(obj.position[0] - reach, obj.position[1] - reach,
                                         obj.position[0] + reach, obj.position[1] + reach) -
                        kClearMargin;
    if (obj.position[2] + reach < clear) {
        std::fill(g.penetration.begin(), g.penetration.end(), 0.0f);
        return;
    }
    for (std::size_t i = 0; i < count; ++i) {
        const Vec3& p = g.points[i];
        Vec3 world;
        MatVec3(obj.bodyToEarth, p, world);
        VecAdd(world, obj.position, world);
        if (world[2] < clear) {
            g.penetration[i] = 0.0f;
            continue;
        }
        const float surface = ground.height(g.pointCursor, false, world[0], world[1]);
        if (!(world[2] > surface)) {
            g.penetration[i] = 0.0f;
            continue;
        }
        const GroundPoint s = ground.heightAndNormal(g.pointCursor, false, world[0], world[1]);
        const Vec3& n = s.normal;
        const float d = std::clamp((s.height - world[2]) * n[2], 0.0f, 1.0f);

        Vec3 lift;
        VecScale(n, d, lift);
        Vec3 liftBody;
        MatVec3(obj.earthToBody, lift, liftBody);
        Vec3 r;
        VecAdd(p, liftBody, r);

        Vec3 vb;
        VecCross(rates, r, vb);
        VecAdd(vb, velocity, vb);
        Vec3 v;
        MatVec3(obj.bodyToEarth, vb, v);
        Vec3 along;
        VecScale(n, VecDot(n, v), along);
        Vec3 vt;
        VecSub(v, along, vt);

        const float normal =
            MaxOf(0.0f, g.bodyStiffness * d + g.bodyDamping * (d - g.penetration[i]) / g.dt);
        const float speed = VecLength(vt);
        Vec3 dir;
        VecNormalize(vt, dir);
        Vec3 friction;
        VecScale(dir, -MinOf(speed, 1.0f) * normal * g.friction, friction);

        Vec3 f;
        VecScale(n, normal, f);
        VecAdd(f, friction, f);
        Vec3 fb;
        MatVec3(obj.earthToBody, f, fb);
        VecAdd(obj.forces.ground.force, fb, obj.forces.ground.force);
        Vec3 m;
        VecCross(r, fb, m);
        VecAdd(obj.forces.ground.moment, m, obj.forces.ground.moment);

        g.penetration[i] = d;
    }
}

} // namespace kv::sim
