#pragma once
/// A trimmed start: the control positions that hold an aircraft's or a
/// helicopter's initial flight from the first step, so that a run does not
/// begin with the controls at zero and the vehicle diving or falling.
///
/// An aircraft is trimmed in straight and level flight at its initial speed,
/// heading and altitude: wings level, no rates, the angle of attack as its
/// pitch attitude, with the elevator and throttle that hold it there. A
/// helicopter is trimmed in a hover at its initial place and heading. A
/// vehicle touching the ground starts as it stands.

#include "model/object_record.h"
#include "simulation/control_block.h"
#include "simulation/environment/environment.h"
#include "simulation/sim_object.h"

#include <functional>
#include <string_view>

namespace kv::sim {

/// How the trim of one object's initial flight came out.
enum class TrimOutcome {
    Untrimmed,    ///< not a flying vehicle, or touching the ground: started as given
    Trimmed,      ///< started in the trim
    TooSlow,      ///< aircraft: no level flight at its initial speed
    BeyondEngine, ///< aircraft: level flight needs more thrust than the engine gives
    NotHovering,  ///< helicopter: moving at the start, and only a hover is trimmed
    NotFound,     ///< no control positions hold the flight
};

/// A trimmed start's attitude and control positions.
struct StartTrim {
    TrimOutcome outcome = TrimOutcome::Untrimmed;
    float alpha = 0.0f;              ///< aircraft: angle of attack and pitch attitude (rad)
    float elevator = 0.0f;           ///< elevator channel, -1..1
    float throttle = 0.0f;           ///< throttle channel, 0..1
    float collective = 0.0f;         ///< helicopter collective channel, 0..1
    float lateralCyclic = 0.0f;      ///< -1..1
    float longitudinalCyclic = 0.0f; ///< -1..1
    float pedal = 0.0f;              ///< -1..1
    float residual = 0.0f;           ///< largest acceleration left (ft/s^2, or rad/s^2 x 100)
};

/// The message that says a vehicle starts untrimmed and why; empty for an
/// outcome that needs none.
std::string_view trimMessage(TrimOutcome outcome);

/// Sets up a simulated object from a record as the run's reset does.
using SetUpObject = std::function<void(SimObject&, const model::ObjectRecord&)>;

/// Finds the trim of `record`'s initial flight, with the other channels at
/// `initialControls`, in `environment`, evaluating the object that `setUp`
/// makes (the run's own physics, so that the trim holds in the run).
StartTrim trimInitialFlight(const model::ObjectRecord& record, const ControlBlock& initialControls,
                            const Environment& environment, const SetUpObject& setUp);

/// `initial` moved into the trimmed flight: an aircraft wings level at its
/// angle of attack, its speed along the flight path, no rates; a helicopter
/// level at rest. Position and heading stay.
void trimInitialConditions(const StartTrim& trim, int vehicleType,
                           model::InitialConditions& initial);

/// Puts the trimmed positions of the vehicle type's channels into `controls`.
void trimControls(const StartTrim& trim, int vehicleType, ControlBlock& controls);

} // namespace kv::sim
