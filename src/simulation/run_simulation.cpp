#include "simulation/run_simulation.h"

#include "common/message_wrap.h"
#include "simulation/frame_record.h"
#include "simulation/pilot/actuate_controls.h"
#include "simulation/pilot/pilot_step.h"
#include "simulation/pilot/sensors.h"
#include "simulation/reset_simulation.h"
#include "simulation/step_object.h"

#include <array>
#include <cstdio>

namespace kv::sim {

namespace {

bool isStatic(const model::ObjectRecord& r) {
    return r.role == model::kRoleStatic;
}

} // namespace

std::string truncatedRecordingMessage(int capacity, float framePeriod) {
    const float seconds = static_cast<float>(capacity) * framePeriod;
    char text[200];
    std::snprintf(text, sizeof text,
                  "Only the first %0.1f seconds of the animation were recorded because it "
                  "exceeded the %d frame limit.",
                  static_cast<double>(seconds), capacity);
    return text;
}

void RunSimulation(RunState& run, const RunSettings& settings,
                   std::span<model::ObjectRecord> objects, CameraRecord& camera,
                   const RunPorts& ports) {
    RunFlags& flags = run.flags;
    flags.stop = false;
    flags.cameraResetRequest = false;
    ResetSimulation(run, settings, objects);
    if (ports.afterReset)
        ports.afterReset(run);
    for (int s = settings.observe ? 1 : 0; s < run.slotCount; ++s) {
        const std::string_view why =
            trimMessage(run.slots[static_cast<std::size_t>(s)].trim.outcome);
        if (!why.empty()) {
            showWrappedMessage(ports.messages, why);
        }
    }

    run.recording = run.channels.allocate(settings.recordCapacity);

    flags.objectMotionRecorded = false;
    flags.cameraMotionRecorded = false;
    if (run.recording) {
        // In observe mode slot 0 is replayed, not recorded: its channel keeps
        // the recording it replays. The other channels start afresh either way,
        // so a channel never appends to an earlier run's frames.
        for (int s = settings.observe ? 1 : 0; s < run.slotCount; ++s) {
            run.channels.channels[static_cast<std::size_t>(s)].count = 0;
        }
        run.channels.channels[kCameraChannel].count = 0;
    }

    run.collisionOn = run.slotCount >= 2 && !settings.observe && ports.collision != nullptr;
    if (run.collisionOn) {
        std::array<int, kMaxSlots> indices{};
        for (int s = 0; s < run.slotCount; ++s) {
            indices[static_cast<std::size_t>(s)] =
                run.slots[static_cast<std::size_t>(s)].objectIndex;
        }
        ports.collision->buildModels(
            objects, std::span<const int>(indices.data(), static_cast<std::size_t>(run.slotCount)));
    }

    run.subSteps = subStepsPerFrame(settings.framePeriod, settings.dt);
    const int n = run.subSteps;
    const int firstStepped = settings.observe ? 1 : 0;

    ports.clock.restart();
    run.frameCounter = 0;
    run.recordStatus = true;

    const StepContext ctx{settings.dt, settings.environment, ports.messages, flags.stop};

    while (!flags.stop) {
        flags.late = ports.clock.waitUntil(static_cast<double>(settings.framePeriod));
        ports.clock.restart();

        if (!flags.pause) {
            for (int s = 0; s < run.slotCount; ++s) {
                run.slots[static_cast<std::size_t>(s)].sim.frameTime += settings.framePeriod;
            }
        }
        if (run.collisionOn && !flags.pause) {
            ports.collision->testPair(run.slots[0].sim, run.slots[1].sim);
        }

        if (run.slotCount > 0) {
            Slot& first = run.slots[0];
            ports.controls.readControls(camera, first.raw, run.cameraControls);
            copyControlsToFrame(first.raw, first.frame);
        } else {
            ControlRecord unused;
            ports.controls.readControls(camera, unused, run.cameraControls);
        }
        if (!flags.pause) {
            for (int s = 1; s < run.slotCount; ++s) {
                Slot& slot = run.slots[static_cast<std::size_t>(s)];
                if (isStatic(objects[static_cast<std::size_t>(slot.objectIndex)]))
                    continue;
                ports.controls.playbackControls(slot.objectIndex, slot.sim.frameTime, slot.raw);
                copyControlsToFrame(slot.raw, slot.frame);
            }
        }

        for (int i = 0; !flags.pause; ++i) {
            if (i >= n) {
                for (int s = firstStepped; s < run.slotCount; ++s) {
                    Slot& slot = run.slots[static_cast<std::size_t>(s)];
                    fillFrameRecord(slot.sim, slot.frame);
                    if (run.recording && !recordFrame(run.channels, s, slot.frame)) {
                        run.recordStatus = false;
                    }
                }
                break;
            }
            for (int s = firstStepped; s < run.slotCount; ++s) {
                Slot& slot = run.slots[static_cast<std::size_t>(s)];
                if (!isStatic(objects[static_cast<std::size_t>(slot.objectIndex)])) {
                    UpdateSensors(slot.sim, slot.sensors);
                    PilotStep(slot.raw, slot.sensors, slot.autopilot, slot.command, settings.dt,
                              settings.environment.gravity);
                    ActuateControls(slot.command, slot.sim.controls, settings.dt);
                    StepObject(slot.sim, ctx);
                    if (flags.stop) {
                        // Finish this sub-step, then record the frame.
                        i = n - 1;
                    }
                }
                slot.sim.simTime += settings.dt;
            }
        }

        camera.time = run.slotCount > 0 ? run.slots[0].sim.frameTime : 0.0f;
        applyRunKey(flags, ports.scene.drawFrame(run, camera, run.cameraControls));
        ports.scene.updateInstruments(run);

        if (!flags.pause) {
            fillCameraFrame(camera, camera.time, run.cameraFrame);
            if (run.recording && !recordFrame(run.channels, kCameraChannel, run.cameraFrame)) {
                run.recordStatus = false;
            }
        }

        for (int s = 0; s < run.slotCount; ++s) {
            run.slots[static_cast<std::size_t>(s)].stepped = true;
        }
        ++run.frameCounter;
    }

    if (run.recording) {
        if (!settings.observe)
            flags.objectMotionRecorded = true;
        flags.cameraMotionRecorded = true;
    }
    if (!run.recording) {
        showWrappedMessage(ports.messages, kNotRecordedMessage);
        flags.objectMotionRecorded = false;
        flags.cameraMotionRecorded = false;
    } else if (!run.recordStatus) {
        if (run.channels.capacity > kMinRecordCapacity) {
            showWrappedMessage(ports.messages, truncatedRecordingMessage(run.channels.capacity,
                                                                         settings.framePeriod));
        } else {
            showWrappedMessage(ports.messages, kNotRecordedMessage);
            flags.objectMotionRecorded = false;
            flags.cameraMotionRecorded = false;
        }
    }
    if (run.slotCount > 0) {
        run.slots[0].stepped = false;
    }
}

} // namespace kv::sim
