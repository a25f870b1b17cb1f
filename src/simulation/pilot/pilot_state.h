#pragma once
/// The pilot layer's state of one slot: levers, modes, held targets and the
/// control laws' integrators. Started afresh at the first pilot step of a run.

#include "common/table_lookup.h"

#include <array>
#include <cstdint>

namespace kv::sim {

/// Mode word values of the three channels (longitudinal, lateral, speed).
enum PilotMode : std::int32_t {
    kModeSpeedHold = 2, ///< speed: hold the held speed (cruise, autothrottle)
    kModeHold = 3,      ///< attitude: bank and flight-path holds; speed: lever or climb hold
    kModeManual = 4,    ///< stick and lever drive the controls directly
    kModeHover = 5,     ///< rate-command attitude control of a hovering vehicle
};

/// Engagement word values.
enum EngagementWord : std::int32_t { kEngagedWord = 1, kDisengagedWord = 2 };

/// The sensed values converted to the control laws' units.
struct PilotSensed {
    bool onGround = false;
    std::array<float, 3> loadFactor{0.0f, 0.0f, 1.0f}; ///< g
    float p = 0.0f;                                    ///< roll rate (rad/s)
    float q = 0.0f;                                    ///< pitch rate (rad/s)
    float r = 0.0f;                                    ///< yaw rate (rad/s)
    float roll = 0.0f;                                 ///< rad
    float pitch = 0.0f;                                ///< rad
    float yaw = 0.0f;                                  ///< rad
    float alpha = 0.0f;                                ///< rad
    float beta = 0.0f;                                 ///< rad
    float flightPath = 0.0f;                           ///< pitch less alpha (rad)
    float altitude = 0.0f;                             ///< ft
    float trueAirspeed = 0.0f;                         ///< ft/s
    float indicatedAirspeed = 0.0f;                    ///< ft/s
    float verticalSpeed = 0.0f;                        ///< ft/s, positive up
    float dynamicPressure = 0.0f;                      ///< lbf/ft^2 from the indicated airspeed
    float mach = 0.0f;                                 ///< from the total temperature
    float forwardAirspeed = 0.0f;                      ///< TAS cos(beta) cos(alpha) (ft/s)
    float lateralAirspeed = 0.0f;                      ///< TAS sin(beta) cos(alpha) (ft/s)
};

/// Positions the pilot sets with the stick, the buttons and the keys.
struct PilotLevers {
    float throttle = 0.0f;          ///< 0..1
    float brake = 0.0f;             ///< 0..1
    float nozzle = 0.0f;            ///< 0..1
    float flap = 0.0f;              ///< 0, 0.5 or 1
    float gear = 0.0f;              ///< 0 or 1
    float steering = 0.0f;          ///< -1..1
    float lateralStick = 0.0f;      ///< -1..1, positive right
    float longitudinalStick = 0.0f; ///< -1..1, positive back (toward the pilot)
    bool brakeHold = false;
    float rudderOffset = 0.0f; ///< deg (or deg/s of yaw rate where it is a rate command)
    /// Elevator the manual stick is centred on, -1..1: the trim of a trimmed
    /// start, so that a centred stick keeps the aircraft in level flight.
    float elevatorTrim = 0.0f;
    std::int32_t transmission = 1; ///< 1 drive, -1 reverse
    bool externalForce = false;
    std::array<float, 3> externalForceMultipliers{}; ///< forward, lateral, vertical
};

/// The pilot's selections, derived from the stick and the throttle lever.
struct PilotSelections {
    float bank = 0.0f;       ///< deg
    float flightPath = 0.0f; ///< deg
    float climbRate = 0.0f;  ///< ft/min
};

/// Targets captured at the autopilot's engagement.
struct PilotHolds {
    float altitude = 0.0f;  ///< ft
    float heading = 0.0f;   ///< deg
    float speed = 0.0f;     ///< knots
    float speedLow = 0.0f;  ///< low end of the held-speed range (knots)
    float speedHigh = 0.0f; ///< high end of the held-speed range (knots)
};

/// Commands passed from the outer to the inner loops.
struct PilotCommands {
    float bank = 0.0f;            ///< rad
    float flightPath = 0.0f;      ///< flight-path or pitch command (rad)
    float yawRate = 0.0f;         ///< rad/s
    float rollRate = 0.0f;        ///< rad/s
    float pitchRate = 0.0f;       ///< rad/s
    float filteredYawRate = 0.0f; ///< helicopter yaw-rate command after its 1 s lag (rad/s)
};

/// Where a trimmed start put the controls, for the pilot layer to start from.
struct PilotTrim {
    bool active = false;             ///< the run started trimmed
    float elevator = 0.0f;           ///< elevator channel, -1..1
    float throttle = 0.0f;           ///< throttle channel, 0..1
    float lateralCyclic = 0.0f;      ///< -1..1
    float longitudinalCyclic = 0.0f; ///< -1..1
    float pedal = 0.0f;              ///< -1..1
};

/// The control laws' integrators; each persists for the run.
struct PilotIntegrators {
    float aileron = 0.0f;
    float elevator = 0.0f;
    float throttle = 0.0f;
    float climbRate = 0.0f;
    float yaw = 0.0f;
    float steering = 0.0f;
};

/// Everything the pilot layer keeps for one slot. The reset clears `started`
/// and copies the vehicle and engine type and the start's trim in; the first
/// pilot step of the run clears the rest.
struct AutopilotState {
    bool started = false; ///< the pilot state has been started this run
    int vehicleType = 0;  ///< vehicle type code of the flown object
    int engineType = 0;   ///< engine type code of the flown object
    PilotTrim trim;       ///< the start's trim, set by the reset

    bool engaged = false;        ///< the autopilot is switched on
    bool engagementDone = false; ///< the holds were captured since it was switched on
    /// The climb-rate hold of the hover modes was engaged: the lever was set
    /// to level flight and the hold started from the collective (or throttle)
    /// in use, since the autopilot was switched on or left its other modes.
    bool climbHoldEngaged = false;
    std::int32_t engagementWord = kDisengagedWord;
    std::int32_t longitudinalMode = kModeManual;
    std::int32_t lateralMode = kModeManual;
    std::int32_t speedMode = kModeManual;

    PilotSensed sensed;
    PilotLevers levers;
    PilotSelections selected;
    PilotHolds holds;
    PilotCommands commands;
    PilotIntegrators integrators;
    kv::TableCursor gainCursor; ///< motorcycle gain schedule on true airspeed

    float lastThrottle = 0.0f; ///< throttle of the last output, 0..1
    float dt = 0.0f;           ///< physics step (s)
    float elapsed = 0.0f;      ///< time since the run began (s)
};

} // namespace kv::sim
