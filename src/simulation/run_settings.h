#pragma once
/// Settings of a simulation run, read from the document's preferences.

#include "simulation/contact/ground_query.h"
#include "simulation/control_block.h"
#include "simulation/environment/environment.h"

namespace kv::geom {
class MeshStore;
}

namespace kv::sim {

/// Physics accuracy: "Good (60 Hz)", "Better (120 Hz)", "Best (240 Hz)".
enum class Accuracy { Good = 0, Better = 1, Best = 2 };

/// Physics step of an accuracy (s), as a single float (1/60 is 0.016666668).
float physicsStep(Accuracy accuracy);

/// Frame period for an update rate (frames/s); a rate below 1 counts as 1.
float framePeriodFor(int updateRate);

/// Whole physics sub-steps per displayed frame: the single-precision ratio of
/// period to step, rounded half up by truncation.
int subStepsPerFrame(float framePeriod, float dt);

struct RunSettings {
    float dt = 1.0f / 120.0f;         ///< physics step (s)
    float framePeriod = 1.0f / 30.0f; ///< displayed frame period (s)
    int recordCapacity = 0;           ///< frames per live record channel
    bool observe = false;             ///< replay slot 0 instead of simulating it
    int interactiveCount = 1;         ///< slots to simulate: 1, or 2 with an interactive object
    Environment environment;
    ControlBlock initialControls; ///< control positions every slot starts with
    /// Aircraft and helicopters clear of the ground start in the trim that
    /// holds their initial flight (level flight at the initial speed, or a hover).
    bool trimmedStart = false;

    /// The surface objects stand on; none: level ground at 0.
    const GroundQuery* ground = nullptr;
    /// Each object's geometry at its object index, whose contact vertices
    /// touch the ground; none: no geometry points.
    const geom::MeshStore* meshes = nullptr;
};

/// Settings from the accuracy, the update rate (frames/s) and the record
/// capacity (frames); the rest keep their defaults.
RunSettings makeRunSettings(Accuracy accuracy, int updateRate, int recordCapacity);

} // namespace kv::sim
