#pragma once
/// What the aerodynamics of a simulated object keeps for a run: its settings
/// from the object record and the table cursors of the tabulated models.

#include "simulation/aero/aero_cursors.h"
#include "simulation/aero/aero_settings.h"

namespace kv::sim {

struct AeroModelState {
    AeroSettings settings; ///< rebuilt at every set-up
    AeroCursors cursors;   ///< blank at set-up, kept across steps
};

} // namespace kv::sim
