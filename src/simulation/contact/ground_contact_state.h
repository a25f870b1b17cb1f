#pragma once
/// Settings and state of an object's ground contact: its tire and skid
/// effectors with their suspension, and the points of its collision geometry.

#include "common/vecmath.h"
#include "model/object_record.h"
#include "simulation/contact/ground_query.h"
#include "simulation/contact/tire_state.h"

#include <array>
#include <cstdint>
#include <vector>

namespace kv::sim {

/// The parts of an effector the contact geometry needs, copied from the
/// object record at set-up.
struct ContactTreeNode {
    int parent = -1;
    std::array<int, 6> drivers{};   ///< driver code per degree of freedom
    std::array<float, 6> offsets{}; ///< ft, ft, ft, deg, deg, deg
    std::array<float, 6> scales{};  ///< gain per unit of the driving quantity
};

/// One tire or skid effector, in effector order (its index is the tire number).
struct ContactEffector {
    int effector = -1;    ///< index in the object's effector list
    bool isTire = true;   ///< tire (true) or skid
    bool braked = false;  ///< the tire's brake flag is set
    bool driven = false;  ///< the tire's drive flag is set
    bool pivoted = false; ///< a Pivot effector follows this tire: the strut axis is body up

    Vec3 attach{};                ///< attachment point, body axes (ft)
    Vec3 attachStart{};           ///< attachment point at the start of the step (ft)
    Vec3 axis{0.0f, 0.0f, -1.0f}; ///< strut axis, body unit vector; body up by default
    float steer = 0.0f;           ///< steering angle (rad)
    float side = 1.0f;            ///< +1 or -1: -1 when the wheel's yaw was folded by pi

    float radius = 0.0f;          ///< tire radius (ft)
    float width = 0.0f;           ///< tire width (ft)
    float wheelInertia = 0.0f;    ///< spin inertia of the wheel (slug*ft^2)
    float travel = 0.0f;          ///< maximum strut compression (ft)
    float stiffness = 0.0f;       ///< spring stiffness (lbf/ft)
    float damping = 0.0f;         ///< damping (lbf*s/ft)
    float springFraction = 0.0f;  ///< spring strength fraction of the tire block
    float dampingFraction = 0.0f; ///< damping fraction of the tire block

    float compression = 0.0f;         ///< ft
    float previousCompression = 0.0f; ///< at the previous evaluation (ft)
    float normalForce = 0.0f; ///< strut force along the surface normal (lbf), never negative
    TireState tire;
    float rollAngle = 0.0f; ///< wheel roll angle (rad)
    /// Where a skid is held by static friction, earth axes (ft); meaningful
    /// only while `held` is set.
    Vec3 anchor{};
    bool held = false; ///< the skid touches and has an anchor
    GroundCursor cursor;
};

struct GroundContactState {
    float dt = 1.0f / 120.0f;            ///< physics step (s)
    const GroundQuery* ground = nullptr; ///< none: level ground at 0

    int effectorCount = 0; ///< tire and skid effectors, 0..10
    std::array<ContactEffector, model::kMaxTires> effectors{};
    int treeSize = 0; ///< effectors of the object, 0..30
    std::array<ContactTreeNode, model::kMaxEffectors> tree{};
    bool geometryReady = false; ///< attachment points computed at least once

    bool detailed = false;       ///< the detailed tire law (wheels may lock)
    int tireType = 1;            ///< tire family of the detailed law: 1 Radial, 2 Bias Ply, 3 Sport
    float grip = 0.0f;           ///< road grip G of the detailed law (85 a nominal dry road)
    float braking = 0.0f;        ///< braking strength fraction B, 0..2
    int drivenCount = 0;         ///< tires whose drive flag is set
    int bladeCount = 0;          ///< blade effectors
    bool inContact = false;      ///< some strut was compressed at the last evaluation
    float drivenWheelRpm = 0.0f; ///< mean driven-wheel speed (rev/min)

    float bodyStiffness = 0.0f;     ///< per geometry point (lbf/ft)
    float bodyDamping = 0.0f;       ///< per geometry point (lbf*s/ft)
    float friction = 0.0f;          ///< collision friction coefficient
    std::vector<Vec3> points;       ///< contact vertices of the geometry, body axes (ft)
    float pointReach = 0.0f;        ///< largest distance of a point from the centre of gravity (ft)
    std::vector<float> penetration; ///< previous penetration of each point (ft)
    /// Where each touching point is held by static friction, earth axes (ft);
    /// meaningful only while its `held` flag is set.
    std::vector<Vec3> anchors;
    /// 1 while a point touches and has an anchor; cleared when it leaves the surface.
    std::vector<std::uint8_t> held;
    GroundCursor pointCursor;
};

} // namespace kv::sim
