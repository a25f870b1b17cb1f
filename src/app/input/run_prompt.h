#pragma once
/// The status-bar prompt while a run holds the program: how the chosen device
/// drives the vehicle, how to end the run and how to pause it.

#include "app/input/controller_device.h"

#include <string_view>

namespace kv::app {

/// The prompt for `device`; `groundVehicle` (car or motorcycle rather than
/// aircraft or helicopter) decides what the keys and the pad's parts do.
std::string_view runPrompt(ControllerDevice device, bool groundVehicle);

} // namespace kv::app
