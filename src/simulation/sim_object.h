#pragma once
/// The run-time record of one simulated object: its integrated state, the force
/// sets its force sources fill, and every quantity recomputed after each stage.

#include "common/vecmath.h"
#include "simulation/aero/aero_model.h"
#include "simulation/body/body_state.h"
#include "simulation/body/force_set.h"
#include "simulation/collision/object_contact.h"
#include "simulation/contact/contact_channels.h"
#include "simulation/contact/ground_contact_state.h"
#include "simulation/control_block.h"
#include "simulation/environment/turbulence.h"
#include "simulation/propulsion/engine_state.h"
#include "simulation/propulsion/propulsion_settings.h"
#include "simulation/rotor/rotor_state.h"

namespace kv::sim {

/// Force sets kept between derivative evaluations, each rewritten by its owner.
struct ForceSets {
    ForceSet propulsion; ///< propulsion and rotor effectors, body axes
    ForceSet aero;       ///< aerodynamics, stability axes
    ForceSet ground;     ///< ground and scenery contact, body axes
    ForceSet collision;  ///< collision response against other objects, body axes

    void clear() {
        propulsion.clear();
        aero.clear();
        ground.clear();
        collision.clear();
    }
};

/// Factors applied once to the mass properties at set-up.
struct MassScales {
    float mass = 1.0f;
    float ixx = 1.0f;
    float iyy = 1.0f;
    float izz = 1.0f;
    float xy = 1.0f; ///< both xy products of inertia
    float xz = 1.0f; ///< both xz products of inertia
    float yz = 1.0f; ///< both yz products of inertia
};

struct SimObject {
    int slot = 0;        ///< run slot this object occupies
    int vehicleType = 0; ///< vehicle type code of the object record

    BodyState state;
    ForceSets forces;

    float frameTime = 0.0f; ///< time of the current displayed frame (s)
    float simTime = 0.0f;   ///< physics time (s)

    Vec3 loadFactor{0.0f, 0.0f, 1.0f}; ///< longitudinal, lateral, normal (g)

    double originLatitude = 0.0;  ///< latitude of the local origin (deg)
    double originLongitude = 0.0; ///< longitude of the local origin (deg, positive west)
    Vec3 position{};              ///< local position north, east, down (ft)
    Vec3 earthVelocity{};         ///< velocity north, east, down (ft/s)

    Vec3 airVelocity{};      ///< air-relative body velocity (ft/s)
    Vec3 wind{};             ///< wind velocity, earth axes (ft/s)
    float airspeed = 0.0f;   ///< true airspeed (ft/s)
    float mach = 0.0f;       ///< Mach number
    float climbRate = 0.0f;  ///< rate of climb, positive up (ft/s)
    float alpha = 0.0f;      ///< angle of attack (rad)
    float beta = 0.0f;       ///< sideslip (rad)
    float climbRatio = 0.0f; ///< climb rate divided by airspeed
    float alphaDot = 0.0f;   ///< rad/s
    float betaDot = 0.0f;    ///< rad/s

    float roll = 0.0f;  ///< rad
    float pitch = 0.0f; ///< rad
    float yaw = 0.0f;   ///< rad

    Mat3 earthToBody{1, 0, 0, 0, 1, 0, 0, 0, 1};
    Mat3 bodyToEarth{1, 0, 0, 0, 1, 0, 0, 0, 1};

    float mass = 1.0f; ///< slug
    Mat3 inertia{};    ///< inertia tensor about the centre of mass (slug*ft^2)
    MassScales scales;

    ControlBlock controls;
    ContactChannels contact;
    EngineState engine;
    TurbulenceState turbulence; ///< this object's gust filters, cleared at set-up
    RotorModel rotor;           ///< helicopter rotor model, rebuilt at set-up

    AeroModelState aeroModel;              ///< aerodynamic settings and table cursors
    PropulsionSettings propulsionSettings; ///< engine limits, blade count and run timing
    GroundContactState groundContact; ///< tires, skids and geometry points against the ground
    ObjectContact objectContact;      ///< contact with the partner object, from the pair test
};

} // namespace kv::sim
