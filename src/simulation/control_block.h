#pragma once
/// Control positions of one simulated object: what every force model reads and
/// what each recorded frame carries as the effectors' driving quantities.

#include <array>
#include <cstdint>

namespace kv::sim {

/// Index of each of the twelve control channels; the same order as the driver
/// codes 1..12 and the frame fields 12..23.
enum ControlChannel : int {
    kAileron = 0,
    kElevator,
    kRudder,
    kFlap,
    kGear,
    kThrottle,
    kBrake,
    kLateralCyclic,
    kLongitudinalCyclic,
    kCollective,
    kPedal,
    kNozzle,
    kControlChannelCount,
};

/// Transmission setting of the wheeled engines.
enum Transmission : std::int32_t { kReverse = -1, kNeutral = 0, kDrive = 1 };

/// Control block of a simulated object, in stored order. Cleared by the body
/// set-up; then the run's initial control values are copied in.
struct ControlBlock {
    std::int32_t autopilotEngaged = 0; ///< 1 when the autopilot flies the object
    std::int32_t pilotStatus = 0;      ///< status word of the pilot layer
    std::int32_t transmission = 0;     ///< see Transmission
    std::int32_t gear = 0;             ///< current gear 1..6
    std::int32_t externalForce = 0;    ///< 1 when the external force is switched on
    std::array<float, kControlChannelCount> channels{}; ///< see ControlChannel; -1..1 or 0..1
    float propellerAngle = 0.0f;                        ///< propeller rotation angle (rad)
    float mainRotorAngle = 0.0f;                        ///< main rotor rotation angle (rad)
    float coning = 0.0f;                                ///< main rotor coning angle (rad)
    float flapCos = 0.0f;        ///< main rotor cosine flapping coefficient (rad)
    float flapSin = 0.0f;        ///< main rotor sine flapping coefficient (rad)
    float mainRotorPitch = 0.0f; ///< main rotor blade pitch (rad)
    float tailRotorAngle = 0.0f; ///< tail rotor rotation angle (rad)
    float tailRotorPitch = 0.0f; ///< tail rotor blade pitch (rad)
    float tireSteer = 0.0f;      ///< tire steer channel, -1..1
    /// Factors applied component-wise to the stored external force while the
    /// external-force switch is on (forward, right, down), -1..1 each.
    std::array<float, 3> externalForceMultipliers{};
};

/// The pilot layer's commanded positions: the same fields as the control block,
/// moved toward by the control actuation.
using CommandRecord = ControlBlock;

} // namespace kv::sim
