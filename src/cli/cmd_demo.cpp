// kestrovane-cli demo: a headless run of the built-in default project, a Car
// from its template on level ground, driven with a little throttle.
#include "cli/command.h"
#include "common/ports/messages.h"
#include "common/simulated_clock.h"
#include "common/unit_constants.h"
#include "geometry/mesh_store.h"
#include "model/motion_frame.h"
#include "model/object_model.h"
#include "model/template.h"
#include "model/template_mesh.h"
#include "simulation/contact/contact_geometry.h"
#include "simulation/contact/contact_setup.h"
#include "simulation/contact/ground_query.h"
#include "simulation/run_simulation.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

namespace kv::cli {
namespace {

constexpr const char* kDemoHelp =
    "usage: kestrovane-cli demo [--seconds S] [--rate FPS] [--accuracy good|better|best]\n"
    "\n"
    "Runs a headless simulation of the built-in default project: the Car from its\n"
    "template, set just above level ground and driven with a little throttle\n"
    "(the stick pushed a fifth of the way forward, in drive), under a simulated\n"
    "clock (as fast as the machine allows), and prints what happened: the frames\n"
    "recorded, the final position (m), attitude (deg) and speed, and each tire's\n"
    "strut compression, skid indicator and wheel speed.\n"
    "\n"
    "options:\n"
    "  --seconds S     length of the run in seconds, 0 < S <= 600 (default 10)\n"
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

/// Throttle lever the demo drives with: the stick pushed this far forward.
constexpr float kDemoThrottle = 0.2f;
/// Height of the lowest wheel above the ground at the start (ft).
constexpr float kDropHeight = 0.1f;

/// Pushes the stick a little forward every frame.
class GentleThrottle final : public sim::ControlsPort {
  public:
    void readControls(const sim::CameraRecord&, sim::ControlRecord& vehicle,
                      sim::ControlRecord& cameraControls) override {
        vehicle = sim::ControlRecord{};
        vehicle.stickY = -kDemoThrottle;
        cameraControls = sim::ControlRecord{};
    }
};

/// The default project's object: slot 0 reset and given the Car template.
model::ObjectRecord defaultObject() {
    model::ObjectRecord r;
    model::resetObject(r);
    r.vehicleType = model::kVehicleCar;
    model::applyTemplate(r);
    return r;
}

/// Distance (ft) from the centre of gravity down to the lowest wheel bottom or
/// geometry point of `r` standing level.
float lowestPointOf(const model::ObjectRecord& r, const geom::MeshStore& meshes) {
    sim::SimObject probe;
    sim::SetUpContacts(r, probe, 1.0f, nullptr, sim::contactVerticesOf(&meshes, 0));
    sim::GroundContactState& g = probe.groundContact;
    sim::updateContactGeometry(g, probe.controls);
    float lowest = 0.0f;
    for (int i = 0; i < g.effectorCount; ++i) {
        const sim::ContactEffector& c = g.effectors[static_cast<std::size_t>(i)];
        lowest = std::max(lowest, c.attach[2] + (c.isTire ? c.radius : 0.0f));
    }
    for (const Vec3& p : g.points) {
        lowest = std::max(lowest, p[2]);
    }
    return lowest;
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
    double seconds = 10.0;
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

    StderrMessages messages;
    geom::MeshStore meshes(messages);
    if (!meshes.allocate(1)) {
        std::fprintf(stderr, "kestrovane-cli demo: no memory for the object geometry\n");
        return kExitFailure;
    }
    meshes.clearGeometry(0);
    model::loadTemplateMesh(model::kVehicleCar, [&](const std::array<double, 12>& face) {
        return meshes.addFace(face);
    });
    meshes.thinContactVertices(0);

    std::vector<model::ObjectRecord> objects{defaultObject()};
    const float start = -(lowestPointOf(objects[0], meshes) + kDropHeight);
    objects[0].initial.position = {0.0f, 0.0f, start};

    const sim::FlatGround ground(0.0f);
    settings.ground = &ground;
    settings.meshes = &meshes;
    settings.initialControls.transmission = sim::kDrive;
    settings.initialControls.gear = 1;
    settings.initialControls.channels[sim::kThrottle] = kDemoThrottle;

    SimulatedClock clock;
    GentleThrottle controls;
    HeadlessScene scene(frames);
    sim::CameraRecord camera;
    auto run = std::make_unique<sim::RunState>();
    sim::RunSimulation(*run, settings, objects, camera,
                       sim::RunPorts{clock, controls, scene, messages, nullptr});

    const auto& channels = run->channels.channels;
    const sim::SimObject& car = run->slots[0].sim;
    const model::MotionFrame& last = run->slots[0].frame;
    std::printf("Kestrovane demo: the %s on level ground, throttle %.2f in drive\n",
                model::recordName(objects[0].name).c_str(), static_cast<double>(kDemoThrottle));
    std::printf("frames run: %d at %.6g fps, %d physics steps of %.6g s each\n", run->frameCounter,
                1.0 / static_cast<double>(settings.framePeriod), run->subSteps,
                static_cast<double>(settings.dt));
    std::printf("frames recorded: object %d, camera %d\n", channels[0].count,
                channels[sim::kCameraChannel].count);
    std::printf("final time: %.3f s\n", static_cast<double>(last[model::kFrameTime]));
    std::printf("start height: centre of gravity %.3f m up, wheels %.2f m clear of the ground\n",
                static_cast<double>(-start * kMetresPerFoot),
                static_cast<double>(kDropHeight * kMetresPerFoot));
    std::printf("final position (m): north %.3f, east %.3f, down %.3f\n",
                static_cast<double>(last[model::kFrameNorth]),
                static_cast<double>(last[model::kFrameEast]),
                static_cast<double>(last[model::kFrameDown]));
    std::printf("final attitude (deg): roll %.3f, pitch %.3f, yaw %.3f\n",
                static_cast<double>(last[model::kFrameRoll]),
                static_cast<double>(last[model::kFramePitch]),
                static_cast<double>(last[model::kFrameYaw]));
    std::printf("final speed: %.3f m/s forward; on the ground: %s\n",
                static_cast<double>(car.state.velocity[0] * kMetresPerFoot),
                car.groundContact.inContact ? "yes" : "no");
    std::printf("engine: %.0f rpm shown, gear %d, drive torque %.1f ft*lbf, driven wheels "
                "%.1f rpm\n",
                static_cast<double>(car.engine.rpm), car.controls.gear,
                static_cast<double>(car.engine.driveTorque),
                static_cast<double>(car.engine.wheelRpm));
    const sim::GroundContactState& g = car.groundContact;
    for (int i = 0; i < g.effectorCount; ++i) {
        const auto k = static_cast<std::size_t>(i);
        const sim::ContactEffector& c = g.effectors[k];
        const model::EffectorRecord& e = objects[0].effectors[static_cast<std::size_t>(c.effector)];
        std::printf("  %-15s compression %5.1f %% (%.0f lbf), skid %.2f, wheel %.1f rpm\n",
                    model::recordName(e.name).c_str(),
                    static_cast<double>(car.contact.compression[k] * 100.0f),
                    static_cast<double>(c.normalForce), static_cast<double>(car.contact.skid[k]),
                    static_cast<double>(c.tire.spin * kRpmPerRadPerSec));
    }
    return kExitOk;
}

const CommandRegistrar kDemo{Command{
    "demo", "drive the built-in default car on level ground headless and print what happened",
    runDemo}};

} // namespace
} // namespace kv::cli
