#include "simulation/collision/collision_response.h"

#include <cmath>

namespace kv::sim {

namespace {

/// Earth-axis velocity (ft/s) of the point at earth position `at` (ft) of `o`.
Vec3 earthVelocityAt(const SimObject& o, const Vec3& at) {
    Vec3 rel;
    VecSub(at, o.position, rel);
    Vec3 body;
    MatVec3(o.earthToBody, rel, body);
    Vec3 vb;
    VecCross(o.state.rates, body, vb);
    VecAdd(vb, o.state.velocity, vb);
    Vec3 v;
    MatVec3(o.bodyToEarth, vb, v);
    return v;
}

} // namespace

void ComputeCollisionForces(SimObject& obj, const Vec3& velocity, const Vec3& rates) {
    obj.forces.collision.clear();
    const SimObject* partner = obj.objectContact.partner;
    if (partner == nullptr) {
        return;
    }
    const Vec3& point = partner->objectContact.point;
    const Vec3& normal = partner->objectContact.normal;
    const GroundContactState& own = obj.groundContact;
    const GroundContactState& other = partner->groundContact;
    const float stiffness = MinOf(own.bodyStiffness, other.bodyStiffness);
    const float damping = MinOf(own.bodyDamping, other.bodyDamping);
    const float friction = MaxOf(own.friction, other.friction);

    Vec3 nb;
    MatVec3(obj.earthToBody, normal, nb);
    for (const Vec3& p : obj.objectContact.vertices) {
        Vec3 world;
        MatVec3(obj.bodyToEarth, p, world);
        VecAdd(world, obj.position, world);
        Vec3 offset;
        VecSub(world, point, offset);
        const float depth = VecDot(offset, normal);
        if (!(depth < 0.0f)) {
            continue;
        }
        Vec3 vb;
        VecCross(rates, p, vb);
        VecAdd(vb, velocity, vb);
        Vec3 v;
        MatVec3(obj.bodyToEarth, vb, v);
        const Vec3 theirs = earthVelocityAt(*partner, world);
        VecSub(v, theirs, v);
        Vec3 rel;
        MatVec3(obj.earthToBody, v, rel);

        const float vn = VecDot(rel, nb);
        float n = -depth * stiffness;
        if (vn > 0.0f) {
            n -= vn * damping;
        }
        n = MaxOf(n, 0.0f);
        Vec3 along;
        VecScale(nb, vn, along);
        Vec3 vt;
        VecSub(rel, along, vt);
        Vec3 dir;
        VecNormalize(vt, dir);
        Vec3 f;
        VecScale(dir, -n * friction * MinOf(VecLength(vt), 1.0f), f);
        Vec3 push;
        VecScale(nb, n, push);
        VecAdd(f, push, f);
        VecAdd(obj.forces.collision.force, f, obj.forces.collision.force);
        Vec3 m;
        VecCross(p, f, m);
        VecAdd(obj.forces.collision.moment, m, obj.forces.collision.moment);
    }
}

void ComputeCollisionForces(const BodyState& state, SimObject& obj) {
    ComputeCollisionForces(obj, state.velocity, state.rates);
}

} // namespace kv::sim
