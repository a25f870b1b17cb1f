#include "simulation/contact/contact_depth.h"

#include "simulation/contact/contact_geometry.h"

#include <algorithm>
#include <limits>

namespace kv::sim {

namespace {

/// Earth position (ft) of body point `p` of `obj`.
Vec3 toEarth(const SimObject& obj, const Vec3& p) {
    Vec3 world;
    MatVec3(obj.bodyToEarth, p, world);
    VecAdd(world, obj.position, world);
    return world;
}

} // namespace

ContactDepth contactDepth(const SimObject& obj, const ControlBlock& controls) {
    static const FlatGround kLevel;
    GroundContactState g = obj.groundContact;
    const GroundQuery& ground = g.ground != nullptr ? *g.ground : kLevel;
    updateContactGeometry(g, controls);

    constexpr float kNone = -std::numeric_limits<float>::infinity();
    ContactDepth deepest{kNone, kNone};
    GroundCursor cursor;
    bool reset = true;
    const auto depthAt = [&](const Vec3& world, float travel) {
        const float height = ground.height(cursor, reset, world[0], world[1]);
        reset = false;
        deepest.atRest = std::max(deepest.atRest, world[2] - height);
        deepest.compressed = std::max(deepest.compressed, world[2] - height - travel);
    };
    for (int i = 0; i < g.effectorCount; ++i) {
        const ContactEffector& c = g.effectors[static_cast<std::size_t>(i)];
        Vec3 p = c.attach;
        if (c.isTire) {
            // The tire touches first where it is lowest towards the surface:
            // along the surface normal, seen in the wheel's plane.
            const Vec3 at = toEarth(obj, p);
            const GroundPoint surface = ground.heightAndNormal(cursor, reset, at[0], at[1]);
            reset = false;
            Vec3 nb;
            MatVec3(obj.earthToBody, surface.normal, nb);
            Vec3 d{nb[0], 0.0f, nb[2]};
            VecNormalize(d, d);
            p = {p[0] - c.radius * d[0], p[1] - c.radius * d[1], p[2] - c.radius * d[2]};
        }
        depthAt(toEarth(obj, p), c.travel);
    }
    for (const Vec3& p : g.points)
        depthAt(toEarth(obj, p), 0.0f);
    return deepest;
}

} // namespace kv::sim
