#pragma once
/// The stages of one pilot step, in the order the step runs them.

#include "common/unit_constants.h"
#include "simulation/control_block.h"
#include "simulation/control_record.h"
#include "simulation/pilot/pilot_state.h"
#include "simulation/pilot/sensors.h"

namespace kv::sim {

/// Key command codes of the controller.
enum KeyCommand : std::int32_t {
    kKeyAutopilot = 1,    ///< Q
    kKeyNozzleDown = 3,   ///< C: nozzle lever up a tenth (thrust turned down)
    kKeyNozzleUp = 4,     ///< D
    kKeyThrottleDown = 5, ///< X
    kKeyThrottleUp = 6,   ///< S
    kKeyBrakeHold = 7,    ///< B
    kKeyGear = 9,         ///< G
    kKeyFlaps = 10,       ///< F
    kKeyRudderRight = 11, ///< L
    kKeyRudderLeft = 12,  ///< K
    kKeyReverse = 13,     ///< R
};

/// Throttle lever position that selects zero climb rate in the climb-rate
/// holds, whose selected rate is (lever - 0.5) x 4000 ft/min.
inline constexpr float kLevelFlightLever = 0.5f;

/// Clears the pilot state for a new run, keeping the vehicle and engine types,
/// and takes the levers from the slot's initial control values in `command`.
void startPilot(AutopilotState& pilot, const CommandRecord& command);

/// Acts on one key command code; unknown codes do nothing.
void applyKeyCommand(std::int32_t code, AutopilotState& pilot);

/// Chooses the three modes from the engagement and the engine, and captures
/// the holds at the first engaged call.
void selectModes(AutopilotState& pilot);

/// Maps the stick and buttons of `raw` into levers, sticks and the external
/// force switch.
void mapStick(const ControlRecord& raw, AutopilotState& pilot);

/// Converts the sensor record into the control laws' units.
void takeSensors(const SensorRecord& sensors, AutopilotState& pilot);

/// The control laws of each vehicle type; each writes every channel it owns
/// into `command`. `gravity` is the project gravity (ft/s^2).
void carLaws(AutopilotState& pilot, CommandRecord& command);
void motorcycleLaws(AutopilotState& pilot, float gravity, CommandRecord& command);
void aircraftLaws(AutopilotState& pilot, float gravity, CommandRecord& command);
void spacecraftLaws(AutopilotState& pilot, CommandRecord& command);
void helicopterLaws(AutopilotState& pilot, float gravity, CommandRecord& command);

/// 1 unless every mode is manual.
std::int32_t engagedWord(const AutopilotState& pilot);

} // namespace kv::sim
