#pragma once
/// What the helicopter rotor model keeps in a simulated object between
/// derivative evaluations.

#include "common/table_lookup.h"
#include "simulation/body/force_set.h"

#include <array>

namespace kv::sim {

inline constexpr int kRotorStateCount = 16;

/// Internal states x0..x15 of the linear rotor model:
/// - x0, x1, x2: main-rotor coning, longitudinal and lateral flapping (rad);
///   x3, x4, x5: their rates (rad/s);
/// - x6: algebraic coupling term, recomputed by every evaluation, never integrated;
/// - x7: inflow;
/// - x8: integral of the rotor-speed deviation (rad); x9: rotor-speed deviation (rad/s);
/// - x10: engine torque; x11: governor;
/// - x12, x13: second-order filter driven by the roll rate p;
///   x14, x15: the same filter driven by the pitch rate q.
using RotorState = std::array<float, kRotorStateCount>;

/// Swashplate actuator signals s1..s4 (rad) mixed from the cyclic, collective
/// and pedal channels: s1 chiefly lateral and s2 chiefly longitudinal cyclic,
/// s3 the main-rotor collective pitch, s4 the tail-rotor pitch.
using RotorActuators = std::array<float, 4>;

/// The rotor model of one object: its own state only. The predicted state and
/// the stage-1 derivative live here between the two stages of a step, per
/// object, so that two helicopters in one run never share them; the run's step,
/// gravity and channel rate come from the object's propulsion settings.
struct RotorModel {
    RotorState x{};                     ///< integrated state
    RotorState predicted{};             ///< state predicted by stage 1, evaluated by stage 2
    RotorState stage1Rate{};            ///< stage-1 derivative of the state (per s)
    ForceSet stage1Forces;              ///< stage-1 force set, used by the whole step
    RotorActuators actuators{};         ///< signals of the last evaluation (rad)
    TableCursor cursor;                 ///< position on the forward-speed schedule
    bool started = false;               ///< an evaluation has run since set-up
    float firstFrameTime = 0.0f;        ///< frame time of the run's first frame (s)
    bool unstableReportPending = false; ///< an instability waits to be shown
};

} // namespace kv::sim
