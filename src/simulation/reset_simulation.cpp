#include "simulation/reset_simulation.h"

#include "model/object_model.h"
#include "simulation/body/body_setup.h"
#include "simulation/contact/contact_setup.h"
#include "simulation/environment/gaussian_random.h"
#include "simulation/frame_record.h"
#include "simulation/propulsion/propulsion_settings.h"
#include "simulation/rotor/rotor_step.h"

#include <algorithm>

namespace kv::sim {

namespace {

bool takesSlot(const model::ObjectRecord& r) {
    return r.role == model::kRoleInteractive || r.role == model::kRoleStatic;
}

} // namespace

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
        setUpBody(slot.sim, record);
        setPropulsionRunValues(slot.sim.propulsionSettings, settings.dt, settings.framePeriod,
                               settings.environment.gravity);
        setUpRotor(slot.sim.rotor);
        SetUpContacts(record, slot.sim, settings.dt, settings.ground,
                      contactVerticesOf(settings.meshes, slot.objectIndex));
        slot.autopilot = AutopilotState{};
        slot.autopilot.started = false;
        slot.autopilot.vehicleType = record.vehicleType;
        slot.autopilot.engineType = record.engineType;
        slot.sim.controls = settings.initialControls;
        slot.command = settings.initialControls;
        slot.raw = ControlRecord{};
        slot.sensors = SensorRecord{};
        slot.frame = model::MotionFrame{};
        fillFrameRecord(slot.sim, slot.frame);
    }
}

} // namespace kv::sim
