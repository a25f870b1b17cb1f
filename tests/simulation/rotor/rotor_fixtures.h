#pragma once
// A helicopter ready to step, for the rotor tests.

#include "model/object_model.h"
#include "model/object_record.h"
#include "model/template.h"
#include "simulation/body/body_setup.h"
#include "simulation/propulsion/propulsion_settings.h"
#include "simulation/rotor/rotor_step.h"
#include "simulation/sim_object.h"
#include "simulation/step_context.h"
#include "support/fake_ports.h"

namespace kv::test {

/// The Helicopter template at `altitude` ft, level and at rest.
inline model::ObjectRecord helicopterRecord(float altitude = 100.0f) {
    model::ObjectRecord r;
    model::resetObject(r);
    r.vehicleType = model::kVehicleHelicopter;
    model::applyTemplate(r);
    r.initial.position = {0.0f, 0.0f, -altitude};
    r.initial.attitude = {0.0f, 0.0f, 0.0f};
    r.initial.velocity = {0.0f, 0.0f, 0.0f};
    r.initial.rates = {0.0f, 0.0f, 0.0f};
    return r;
}

/// A helicopter as the run's reset leaves it, collective at the hover trim
/// (0.2) and the other rotor controls centred, with its step context.
struct HelicopterRig {
    static constexpr float kFramePeriod = 1.0f / 30.0f;
    static constexpr float kDt = 1.0f / 120.0f;

    explicit HelicopterRig(float altitude = 100.0f) : record(helicopterRecord(altitude)) {
        setUpBody(obj, record);
        sim::setPropulsionRunValues(obj.propulsionSettings, kDt, kFramePeriod, environment.gravity);
        sim::setUpRotor(obj.rotor);
        obj.controls.channels[sim::kCollective] = 0.2f;
    }

    /// Starts the next displayed frame, as the run loop does.
    void nextFrame() { obj.frameTime += kFramePeriod; }

    /// Runs one whole rotor step (both stages) at the object's current
    /// velocity and rates.
    void rotorStep() {
        sim::HelicopterRotor(1, obj, obj.airVelocity, obj.state.rates);
        sim::HelicopterRotor(2, obj, obj.airVelocity, obj.state.rates);
    }

    /// Moves past the run's first frame, whose evaluations restart the rotor
    /// state from 0, so that a test can set the state it wants.
    void leaveFirstFrame() {
        nextFrame();
        rotorStep();
        nextFrame();
    }

    model::ObjectRecord record;
    sim::SimObject obj;
    RecordingMessages messages;
    bool stop = false;
    sim::Environment environment;
    sim::StepContext ctx{kDt, environment, messages, stop};
};

} // namespace kv::test
