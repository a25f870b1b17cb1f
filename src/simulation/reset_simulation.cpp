#include "simulation/reset_simulation.h"

#include "model/object_model.h"
#include "simulation/body/body_setup.h"
#include "simulation/contact/contact_setup.h"
#include "simulation/environment/gaussian_random.h"
#include "simulation/frame_record.h"
#include "simulation/propulsion/propulsion_settings.h"
#include "simulation/rotor/rotor_step.h"
#include "simulation/trim/start_trim.h"

#include <algorithm>
#include <vector>

namespace kv::sim {

namespace {

/// Depth (ft) below the surface that a start may hold without being raised:
/// a template's lowest point rests on level ground, and a height read off
/// the terrain grid rounds by far less than this.
constexpr float kStartDepthTolerance = 0.01f;

bool takesSlot(const model::ObjectRecord& r) {
    return r.role == model::kRoleInteractive || r.role == model::kRoleStatic;
}

/// Sets up a simulated object from `record` for a run of `settings`, its
/// geometry points being `vertices`.
void setUpObject(SimObject& obj, const model::ObjectRecord& record, const RunSettings& settings,
                 const std::vector<Vec3>& vertices) {
    setUpBody(obj, record);
    setPropulsionRunValues(obj.propulsionSettings, settings.dt, settings.framePeriod,
                           settings.environment.gravity);
    setUpRotor(obj.rotor);
    SetUpContacts(record, obj, settings.dt, settings.ground, vertices);
}

} // namespace

ContactDepth initialContactDepth(const model::ObjectRecord& record, const RunSettings& settings,
                                 const std::vector<Vec3>& vertices) {
    SimObject probe;
    setUpObject(probe, record, settings, vertices);
    return contactDepth(probe, settings.initialControls);
}

void ResetSimulation(RunState& run, const RunSettings& settings,
                     std::span<model::ObjectRecord> objects) {
    for (auto& o : objects) {
        o.recordChannel = -1;
    }
    run.slotCount = 0;
    SeedGaussianRandom(kRunRandomSeed);
    if (objects.empty()) {
        return;
    }

    const int wanted = std::clamp(settings.interactiveCount, 1, kMaxSlots);
    run.slots[0].objectIndex = 0;
    run.slotCount = 1;
    int last = 0;
    while (run.slotCount < wanted) {
        int next = last + 1;
        while (next < static_cast<int>(objects.size()) &&
               !takesSlot(objects[static_cast<std::size_t>(next)])) {
            ++next;
        }
        if (next >= static_cast<int>(objects.size())) {
            break;
        }
        run.slots[static_cast<std::size_t>(run.slotCount)].objectIndex = next;
        ++run.slotCount;
        last = next;
    }

    for (int s = 0; s < run.slotCount; ++s) {
        Slot& slot = run.slots[static_cast<std::size_t>(s)];
        model::ObjectRecord& record = objects[static_cast<std::size_t>(slot.objectIndex)];
        record.recordChannel = s;
        model::deriveRunLimits(record);

        slot.sim.slot = s;
        const std::vector<Vec3> vertices = contactVerticesOf(settings.meshes, slot.objectIndex);
        // A trimmed start flies from the trimmed initial conditions; the
        // object's own record keeps those it was given.
        slot.trim = StartTrim{};
        model::ObjectRecord trimmed = record;
        slot.startLift = 0.0f;
        // A replayed slot is posed from its recording and a static object has
        // no motion; simulated ones start on the ground at the least,
        // whatever height they were given.
        if (!(settings.observe && s == 0) && record.role != model::kRoleStatic) {
            const ContactDepth depth = initialContactDepth(record, settings, vertices);
            if (depth.compressed > kStartDepthTolerance) {
                trimmed.initial.position[2] -= depth.atRest;
                slot.startLift = depth.atRest;
            }
        }
        if (settings.trimmedStart && record.role != model::kRoleStatic) {
            slot.trim = trimInitialFlight(trimmed, settings.initialControls, settings.environment,
                                          [&](SimObject& obj, const model::ObjectRecord& r) {
                                              obj.slot = s;
                                              setUpObject(obj, r, settings, vertices);
                                          });
            if (slot.trim.outcome == TrimOutcome::Trimmed) {
                trimInitialConditions(slot.trim, record.vehicleType, trimmed.initial);
            }
        }
        const bool isTrimmed = slot.trim.outcome == TrimOutcome::Trimmed;
        setUpObject(slot.sim, trimmed, settings, vertices);
        slot.autopilot = AutopilotState{};
        slot.autopilot.started = false;
        slot.autopilot.vehicleType = record.vehicleType;
        slot.autopilot.engineType = record.engineType;
        slot.sim.controls = settings.initialControls;
        if (isTrimmed) {
            trimControls(slot.trim, record.vehicleType, slot.sim.controls);
            const StartTrim& t = slot.trim;
            slot.autopilot.trim = PilotTrim{
                true, t.elevator, t.throttle, t.lateralCyclic, t.longitudinalCyclic, t.pedal};
        }
        slot.command = slot.sim.controls;
        slot.raw = ControlRecord{};
        slot.sensors = SensorRecord{};
        slot.frame = model::MotionFrame{};
        fillFrameRecord(slot.sim, slot.frame);
    }
}

} // namespace kv::sim
