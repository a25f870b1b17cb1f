// kestrovane-cli demo: a headless run of the built-in default object.
#include "cli/command.h"
#include "common/ports/messages.h"
#include "common/simulated_clock.h"
#include "model/motion_frame.h"
#include "model/object_model.h"
#include "simulation/run_simulation.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

namespace kv::cli {
namespace {

constexpr const char* kDemoHelp =
    "usage: kestrovane-cli demo [--seconds S] [--rate FPS] [--accuracy good|better|best]\n"
    "\n"
    "Runs a headless simulation of the built-in default object: a 100 slug rigid\n"
    "body starting 100 ft up, moving forward at 60 ft/s and turning at 20 deg/s,\n"
    "under a simulated clock (as fast as the machine allows), and prints what\n"
    "happened: the frames recorded, and the final position (m) and attitude (deg).\n"
    "\n"
    "options:\n"
    "  --seconds S     length of the run in seconds, 0 < S <= 600 (default 3)\n"
    "  --rate FPS      frames per second, 0..1000; 0 counts as 1 (default 30)\n"
    "  --accuracy A    physics rate: good (60 Hz), better (120 Hz), best (240 Hz)\n"
    "                  (default better)\n"
    "  --help          show this text\n";

/// Prints each message as one line on stderr.
class StderrMessages final : public MessagePort {
  public:
    void showMessage(std::string_view text) override {
        std::string line(text);
        for (char& c : line) {
            if (c == '\n')
                c = ' ';
        }
        std::fprintf(stderr, "kestrovane-cli: %s\n", line.c_str());
    }
};

/// Draws nothing and presses ESC on the last frame of the run.
class HeadlessScene final : public sim::ScenePort {
  public:
    explicit HeadlessScene(int frames) : lastFrame_(frames - 1) {}
    sim::RunKey drawFrame(const sim::RunState& run, sim::CameraRecord&,
                          const sim::ControlRecord&) override {
        return run.frameCounter >= lastFrame_ ? sim::RunKey::Escape : sim::RunKey::None;
    }

  private:
    int lastFrame_;
};

model::ObjectRecord defaultObject() {
    model::ObjectRecord r;
    model::resetObject(r);
    model::setRecordName(r.name, "Default");
    r.vehicleType = model::kVehicleNone;
    r.mass.mass = 100.0f;
    r.mass.inertia = {1500.0f, 0.0f, 0.0f, 0.0f, 4000.0f, 0.0f, 0.0f, 0.0f, 5000.0f};
    r.initial.position = {0.0f, 0.0f, -100.0f};
    r.initial.velocity = {60.0f, 0.0f, 0.0f};
    r.initial.rates = {0.0f, 0.0f, 20.0f};
    return r;
}

bool parseNumber(const std::string& text, double& out) {
    const char* end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data(), end, out);
    return ec == std::errc() && ptr == end && std::isfinite(out);
}

int usageError(const std::string& what) {
    std::fprintf(stderr, "kestrovane-cli demo: %s\n\n%s", what.c_str(), kDemoHelp);
    return kExitUsage;
}

int runDemo(const std::vector<std::string>& args) {
    double seconds = 3.0;
    double rate = 30.0;
    sim::Accuracy accuracy = sim::Accuracy::Better;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a == "--help" || a == "-h") {
            std::fputs(kDemoHelp, stdout);
            return kExitOk;
        }
        if (i + 1 >= args.size()) {
            return usageError("unknown option or missing value: " + a);
        }
        const std::string& value = args[++i];
        if (a == "--seconds") {
            if (!parseNumber(value, seconds) || seconds <= 0.0 || seconds > 600.0) {
                return usageError("--seconds needs a number above 0 and at most 600");
            }
        } else if (a == "--rate") {
            if (!parseNumber(value, rate) || rate < 0.0 || rate > 1000.0 ||
                rate != std::floor(rate)) {
                return usageError("--rate needs a whole number from 0 to 1000");
            }
        } else if (a == "--accuracy") {
            if (value == "good") {
                accuracy = sim::Accuracy::Good;
            } else if (value == "better") {
                accuracy = sim::Accuracy::Better;
            } else if (value == "best") {
                accuracy = sim::Accuracy::Best;
            } else {
                return usageError("--accuracy is good, better or best");
            }
        } else {
            return usageError("unknown option: " + a);
        }
    }

    sim::RunSettings settings = sim::makeRunSettings(accuracy, static_cast<int>(rate), 0);
    const int frames = std::max(1, static_cast<int>(std::lround(seconds / settings.framePeriod)));
    settings.recordCapacity = std::max(frames, sim::kMinRecordCapacity);

    std::vector<model::ObjectRecord> objects{defaultObject()};
    SimulatedClock clock;
    sim::NullControls controls;
    HeadlessScene scene(frames);
    StderrMessages messages;
    sim::CameraRecord camera;
    sim::RunState run;
    sim::RunSimulation(run, settings, objects, camera,
                       sim::RunPorts{clock, controls, scene, messages, nullptr});

    const auto& channels = run.channels.channels;
    const model::MotionFrame& last = run.slots[0].frame;
    std::printf("Kestrovane demo: %s, a 100 slug free body (no ground contact yet)\n",
                model::recordName(objects[0].name).c_str());
    std::printf("frames run: %d at %.6g fps, %d physics steps of %.6g s each\n", run.frameCounter,
                1.0 / static_cast<double>(settings.framePeriod), run.subSteps,
                static_cast<double>(settings.dt));
    std::printf("frames recorded: object %d, camera %d\n", channels[0].count,
                channels[sim::kCameraChannel].count);
    std::printf("final time: %.3f s\n", static_cast<double>(last[model::kFrameTime]));
    std::printf("final position (m): north %.3f, east %.3f, down %.3f\n",
                static_cast<double>(last[model::kFrameNorth]),
                static_cast<double>(last[model::kFrameEast]),
                static_cast<double>(last[model::kFrameDown]));
    std::printf("final attitude (deg): roll %.3f, pitch %.3f, yaw %.3f\n",
                static_cast<double>(last[model::kFrameRoll]),
                static_cast<double>(last[model::kFramePitch]),
                static_cast<double>(last[model::kFrameYaw]));
    return kExitOk;
}

const CommandRegistrar kDemo{Command{
    "demo", "run a headless simulation of the built-in default object and print what happened",
    runDemo}};

} // namespace
} // namespace kv::cli
