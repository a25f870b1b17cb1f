// kestrovane-cli simulate: runs the simulation without a window under a
// simulated clock and writes the motion of the simulated object (and of the
// camera) as motion files.

#include "app/document/document.h"
#include "app/document/headless_run.h"
#include "app/document/scene_gltf.h"
#include "app/follow/follow_controls.h"
#include "app/follow/path_file.h"
#include "app/input/controls_csv.h"
#include "app/input/headless_controls.h"
#include "app/input/input_device.h"
#include "app/settings/memory_settings.h"
#include "app/settings/units.h"
#include "app/settings/units_convert.h"
#include "cli/command.h"
#include "cli/document_answers.h"
#include "cli/dxf_axes_option.h"
#include "cli/interrupts.h"
#include "cli/simulate_options.h"
#include "cli/stderr_messages.h"
#include "cli/terminal_progress.h"
#include "common/file_names.h"
#include "common/processes.h"
#include "common/unit_constants.h"
#include "geometry/working_files.h"
#include "model/motion_file.h"
#include "model/object_model.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

namespace kv::cli {
namespace {

namespace fs = std::filesystem;

constexpr const char* kPrefix = "kestrovane-cli simulate";

constexpr const char* kSimulateHelpHead =
    "usage: kestrovane-cli simulate [--vehicle TYPE | --object FILE.kvo | --project FILE.kvp]\n"
    "           [--terrain FILE.dxf] [--controls FILE.csv | --replay FILE.kvm]\n"
    "           [--follow PATH.csv|PATH.dxf [--speed S]] [--units UNIT]\n"
    "           [--axes right|left|zup]\n"
    "           [--duration SECONDS] [--fps N] [--accuracy 60|120|240]\n"
    "           [--initial N,E,D,ROLL,PITCH,YAW,P,Q,R,U,V,W] [--wind SPEED_FT_S,FROM_DEG]\n"
    "           [--turbulence] [--gravity G] [--trim] -o OUT.kvm [--camera-out CAM.kvm]\n"
    "           [--gltf SCENE.glb]\n"
    "\n"
    "Runs the simulation as Simulation > Begin does, under a simulated clock (as fast\n"
    "as the machine allows), and writes the simulated object's motion. The run ends\n"
    "at ESC from the controls, at --duration (as if ESC were pressed then), at an\n"
    "instability or when the record memory is full. A summary goes to stdout and\n"
    "every message of the run to stderr.\n"
    "\n"
    "  --vehicle TYPE      car, motorcycle, aircraft or helicopter from its template\n"
    "                      (default: the car)\n"
    "  --object FILE.kvo   the simulated object from an object file\n"
    "  --project FILE.kvp  a whole project: objects, scenery, terrain, environment\n"
    "  --terrain FILE.dxf  terrain from a DXF file (default transform in the\n"
    "                      --axes system)\n"
    "  --controls FILE.csv control script: header time,x,y,a,b,key; x, y in [-1, 1]\n"
    "                      and buttons a, b (0/1) hold from a row's time to the next;\n"
    "                      key (Q C D X S B W G F L K R, P, ESC, F1-F6, ALT+F2-ALT+F6,\n"
    "                      F11, F12) is pressed once at the row's time\n"
    "  --replay FILE.kvm   feed the controller fields recorded in a motion file frame\n"
    "                      by frame; the frame rate is the recording's unless --fps\n"
    "  --follow PATH       drive or fly the vehicle along a path: a CSV file with the\n"
    "                      header north,east[,up][,speed|,time] (working units) or the\n"
    "                      first LWPOLYLINE or POLYLINE of a DXF file (default\n"
    "                      transform in the --axes system); the run ends when the\n"
    "                      vehicle has stopped at\n"
    "                      the end (the aircraft: passed it); figures go to stdout\n"
    "  --speed S           speed along the path where it gives none (km/h with a\n"
    "                      metric unit, else mph)\n"
    "  --units UNIT        working length unit of the path: mm, cm, m, in, ft or yd\n"
    "                      (default m)\n";

constexpr const char* kSimulateHelpTail =
    "  --duration SECONDS  end the run then (default: the replayed recording's length,\n"
    "                      else ESC from the controls or a full record memory)\n"
    "  --fps N             update rate, frames per second (default 12)\n"
    "  --accuracy HZ       physics rate: 60, 120 or 240 (default 120)\n"
    "  --initial ...       initial conditions: position (ft), attitude (deg), body\n"
    "                      rates (deg/s), body velocity (ft/s)\n"
    "  --wind SPEED,FROM   steady wind (ft/s) blowing from a compass direction (deg)\n"
    "  --turbulence        add turbulence\n"
    "  --gravity G         gravity in g's (1 g = 32.17 ft/s^2; default 1)\n"
    "  --trim              start trimmed, as Simulation > Start Trimmed does: an\n"
    "                      aircraft clear of the ground in level flight at its\n"
    "                      initial speed, a helicopter in a hover, with the\n"
    "                      control positions that hold it (when none do, a\n"
    "                      message says so and the run starts untrimmed)\n"
    "  -o OUT.kvm          motion file to write\n"
    "  --camera-out CAM.kvm  also write the camera's motion\n"
    "  --gltf SCENE.glb    also write the scene of the run as one glTF file: terrain,\n"
    "                      scenery, every object with its motion and the camera\n"
    "\n"
    "Exit status: 0 when the motion file was written, 1 on a failure (with its\n"
    "message), 2 on bad usage, 3 when the simulation became unstable (the motion\n"
    "up to the instability is still written). Nothing is written when the run\n"
    "fails. Interrupted (Ctrl+C, SIGTERM, SIGHUP), it writes nothing, removes its\n"
    "working files and exits 128 plus the signal's number (130, 143, 129).\n";

std::string simulateHelp() {
    return std::string(kSimulateHelpHead) + kDxfAxesHelp + kSimulateHelpTail;
}

int usageError(const std::string& why) {
    std::fprintf(stderr, "%s: %s\n\n%s", kPrefix, why.c_str(), simulateHelp().c_str());
    return kExitUsage;
}

int failure(const std::string& why) {
    std::fprintf(stderr, "%s: %s\n", kPrefix, why.c_str());
    return kExitFailure;
}

/// A recording to replay: its controller frames and its frame period.
struct Recording {
    std::vector<model::MotionFrame> frames;
    float framePeriod = 0.0f; ///< s
};

/// Reads the frames of `file`; false (with a message) when it cannot be replayed.
bool readRecording(const std::string& file, Recording& out, StderrMessages& messages) {
    model::MotionStore store;
    // One place more than the longest recording, for its end marker.
    if (!store.allocate(1, app::kMaxRecordFrames + 1)) {
        failure("there is not enough memory to read " + file);
        return false;
    }
    model::ObjectRecord record;
    const model::GeometryIntake ignoreGeometry{[] {},
                                               [](const std::array<double, 12>&) { return 1; }};
    bool reportErrors = true;
    const int shown = messages.count();
    if (!model::loadMotion(file, model::MotionTarget{0, &record, ignoreGeometry}, store,
                           reportErrors, messages)) {
        return false;
    }
    if (messages.count() != shown) {
        // The read succeeded but cut the motion short: replaying it would
        // silently drop the rest of the take.
        failure(file + " is longer than a recording can be and cannot be replayed");
        return false;
    }
    const int last = store.lastFrame(0);
    if (last < 0) {
        failure(file + " holds no frames to replay");
        return false;
    }
    const auto frames = store.frames(0).first(static_cast<std::size_t>(last) + 1);
    out.frames.assign(frames.begin(), frames.end());
    // The first frame is recorded one frame period after the start.
    out.framePeriod = out.frames.front()[model::kFrameTime];
    return true;
}

/// Temporary name beside `target` for a file that is renamed into place only
/// once everything has been written.
fs::path stagingPath(const fs::path& target) {
    fs::path p = target;
    p += ".partial-" + std::to_string(static_cast<long long>(currentProcessId()));
    return p;
}

/// Passes messages on with a staging file's name replaced by its target's.
class StagedMessages final : public MessagePort {
  public:
    StagedMessages(MessagePort& inner, std::string staged, std::string target)
        : inner_(inner), staged_(std::move(staged)), target_(std::move(target)) {}
    void showMessage(std::string_view text) override {
        std::string t(text);
        for (std::size_t at = t.find(staged_); at != std::string::npos;
             at = t.find(staged_, at + target_.size()))
            t.replace(at, staged_.size(), target_);
        inner_.showMessage(t);
    }

  private:
    MessagePort& inner_;
    std::string staged_;
    std::string target_;
};

const char* endText(app::HeadlessEnd end) {
    switch (end) {
    case app::HeadlessEnd::Escape:
        return "ESC";
    case app::HeadlessEnd::FrameLimit:
        return "duration";
    case app::HeadlessEnd::MemoryFull:
        return "record memory full";
    case app::HeadlessEnd::Interrupted:
        return "interrupted";
    case app::HeadlessEnd::Stopped:
        break;
    }
    return "unstable";
}

int runSimulate(const std::vector<std::string>& args) {
    SimulateOptions o;
    bool help = false;
    if (const auto error = parseSimulateOptions(args, o, help))
        return usageError(*error);
    if (help) {
        std::fputs(simulateHelp().c_str(), stdout);
        return kExitOk;
    }

    // From here on a signal ends the command at its next check, so that the
    // working folder is removed and no output is left half written.
    catchInterrupts();
    StderrMessages messages(kPrefix);
    app::ControlScript script;
    if (!o.controls.empty()) {
        std::string error;
        if (!app::loadControlsCsv(o.controls, script, error))
            return failure(error);
    }
    Recording recording;
    if (!o.replay.empty() && !readRecording(o.replay, recording, messages))
        return kExitFailure;
    if (!o.replay.empty() && !o.fps &&
        !(recording.framePeriod > 0.0f && recording.framePeriod <= 1.0f)) {
        return failure(o.replay + ": its frame times give no frame period; give --fps");
    }

    // The record memory holds the whole run when its length is known.
    float plannedPeriod = 1.0f / 12.0f;
    if (o.fps)
        plannedPeriod = sim::framePeriodFor(*o.fps);
    else if (!o.replay.empty())
        plannedPeriod = recording.framePeriod;
    app::MemorySettings memory = app::kFactoryMemory;
    int plannedFrames = 0;
    if (o.duration)
        plannedFrames = app::framesForDuration(*o.duration, plannedPeriod);
    else if (!o.replay.empty())
        plannedFrames = static_cast<int>(recording.frames.size());
    if (!o.follow.empty() && plannedFrames == 0) {
        // A followed run ends with the path; its length is not known before.
        memory.recordFrames = app::kMaxRecordFrames;
    }
    if (plannedFrames > 0) {
        // A project brings its own update rate, known only once it is open.
        const bool rateUnknown = !o.project.empty() && !o.fps && o.replay.empty();
        memory.recordFrames = rateUnknown
                                  ? app::kMaxRecordFrames
                                  : std::clamp(plannedFrames + 2, app::kFactoryMemory.recordFrames,
                                               app::kMaxRecordFrames);
    }

    const auto folder = geom::PrivateWorkingFolder::create();
    if (!folder)
        return failure("cannot create a working folder");
    const std::unique_ptr<ProgressPort> progress =
        std::make_unique<InterruptibleProgress>(makeProgress());
    DocumentAnswers answers;
    app::Document document(app::DocumentPorts{messages, *progress, answers, answers, *folder});
    if (!document.allocate(memory, true, std::nullopt))
        return failure("there is not enough memory for the simulation");

    // An interrupted file operation fails as an aborted one: say why instead.
    const auto failed = [] { return interrupted() ? interruptedExit(kPrefix) : kExitFailure; };
    if (!o.project.empty() && !document.openProject(pathFromUtf8(o.project)))
        return failed();
    if (!o.object.empty() && !document.openObject(pathFromUtf8(o.object)))
        return failed();
    if (o.vehicle && !document.newVehicle(*o.vehicle))
        return failure("the built-in vehicle could not be made");
    if (!o.terrain.empty() &&
        !document.addTerrain(app::DxfImport{pathFromUtf8(o.terrain),
                                            importTransformFor(pathFromUtf8(o.terrain), o.axes)}))
        return failed();
    if (interrupted())
        return interruptedExit(kPrefix);

    app::Preferences& prefs = document.preferences();
    if (o.units)
        prefs.lengthUnitFactor = *o.units;
    std::optional<app::PathFollower> follower;
    if (!o.follow.empty()) {
        app::FollowPath path;
        std::string error;
        if (!app::loadFollowPath(pathFromUtf8(o.follow), prefs.lengthUnitFactor,
                                 importTransformFor(pathFromUtf8(o.follow), o.axes), path, error))
            return failure(error);
        app::FollowSettings settings;
        if (o.speed) {
            settings.cruiseSpeed = static_cast<double>(
                app::fromDisplaySpeed(static_cast<float>(*o.speed), prefs.lengthUnitFactor));
        }
        follower.emplace(std::move(path), settings);
    }
    if (o.fps)
        prefs.framePeriod = sim::framePeriodFor(*o.fps);
    else if (!o.replay.empty())
        prefs.framePeriod = recording.framePeriod;
    if (o.accuracy)
        prefs.simTimeStep = sim::physicsStep(*o.accuracy);
    sim::Environment environment = document.environment();
    if (o.wind) {
        environment.windOn = 1;
        environment.windSpeed = (*o.wind)[0];
        environment.windDirection = (*o.wind)[1];
    }
    if (o.turbulence)
        environment.turbulenceOn = 1;
    if (o.gravity)
        environment.gravity = *o.gravity;
    document.setEnvironment(environment);
    document.setTrimmedStart(o.trim);
    if (o.initial) {
        const auto& v = *o.initial;
        model::InitialConditions& ic = document.object(0).initial;
        std::copy(v.begin(), v.begin() + 3, ic.position.begin());
        std::copy(v.begin() + 3, v.begin() + 6, ic.attitude.begin());
        std::copy(v.begin() + 6, v.begin() + 9, ic.rates.begin());
        std::copy(v.begin() + 9, v.end(), ic.velocity.begin());
    }

    const float framePeriod = prefs.framePeriod;
    app::HeadlessLimits limits;
    limits.progress = progress.get();
    limits.interrupted = interrupted;
    if (o.duration)
        limits.frames = app::framesForDuration(*o.duration, framePeriod);
    else if (!o.replay.empty())
        limits.frames = static_cast<int>(recording.frames.size());

    app::InputState input;
    std::unique_ptr<app::HeadlessControls> controls;
    if (!o.replay.empty()) {
        controls = std::make_unique<app::ReplayControls>(
            std::move(recording.frames), &document.motions(), framePeriod, messages);
    } else {
        controls =
            std::make_unique<app::ScriptControls>(script, app::controllerSettingsFrom(prefs), input,
                                                  &document.motions(), framePeriod, messages);
    }
    std::optional<app::FollowControls> followed;
    if (follower)
        followed.emplace(*follower, document.run(), *controls, input);
    const app::HeadlessResult result =
        followed ? app::runHeadless(document, *followed, input, limits, messages, &messages)
                 : app::runHeadless(document, *controls, input, limits, messages, &messages);
    if (follower) {
        const std::string problem =
            app::followProblemMessage(follower->report(), prefs.lengthUnitFactor);
        if (!problem.empty())
            messages.showMessage(problem);
    }

    if (result.end == app::HeadlessEnd::Interrupted || interrupted())
        return interruptedExit(kPrefix);
    const sim::RunState& run = document.run();
    const int recorded = run.channels.channels[0].count;
    if (!run.flags.objectMotionRecorded || recorded <= 0)
        return failure("the run recorded no motion; nothing was written");

    // Both files are written beside their targets and renamed into place only
    // when every one of them has been written.
    const fs::path output = pathFromUtf8(o.output);
    const fs::path staged = stagingPath(output);
    answers.set("Save Sim Motion As:", utf8Name(staged));
    std::vector<std::pair<fs::path, fs::path>> moves{{staged, output}};
    bool saved = document.saveMotionAs() >= 1;
    if (saved && !o.cameraOutput.empty()) {
        const fs::path camera = pathFromUtf8(o.cameraOutput);
        const fs::path stagedCamera = stagingPath(camera);
        answers.set("Save Camera As:", utf8Name(stagedCamera));
        moves.emplace_back(stagedCamera, camera);
        saved = document.saveCameraAs();
    }
    if (saved && !o.gltfOutput.empty()) {
        const fs::path scene = pathFromUtf8(o.gltfOutput);
        const fs::path stagedScene = stagingPath(scene);
        moves.emplace_back(stagedScene, scene);
        NullProgress quiet;
        // A failure names the file asked for, not its staging name.
        StagedMessages named(messages, utf8Name(stagedScene.filename()),
                             utf8Name(scene.filename()));
        saved = app::exportSceneGltf(document, app::liveTakes(document), stagedScene,
                                     utf8Name(fs::path(scene).stem()),
                                     std::string("Kestrovane ") + KV_VERSION, quiet, named);
    }
    std::error_code ec;
    // The last moment a signal still leaves nothing behind.
    const bool stop = interrupted();
    saved = saved && !stop;
    for (std::size_t i = 0; saved && i < moves.size(); ++i) {
        fs::rename(moves[i].first, moves[i].second, ec);
        if (ec) {
            saved = false;
            messages.showMessage("\"" + utf8Name(moves[i].second) +
                                 "\" could not be saved: " + ec.message());
        }
    }
    for (const auto& m : moves)
        fs::remove(m.first, ec);
    if (stop)
        return interruptedExit(kPrefix);
    if (!saved)
        return kExitFailure;

    const model::MotionFrame& last =
        run.channels.channels[0].frames[static_cast<std::size_t>(recorded - 1)];
    const auto f = [&last](int field) {
        return static_cast<double>(last[static_cast<std::size_t>(field)]);
    };
    std::printf("frames: %d\n", recorded);
    std::printf("seconds: %.3f\n", f(model::kFrameTime));
    std::printf("position (m): north %.3f, east %.3f, down %.3f\n", f(model::kFrameNorth),
                f(model::kFrameEast), f(model::kFrameDown));
    std::printf("attitude (deg): roll %.2f, pitch %.2f, yaw %.2f\n", f(model::kFrameRoll),
                f(model::kFramePitch), f(model::kFrameYaw));
    std::printf("top speed: %.3f m/s\n", static_cast<double>(result.topSpeed) * kMetresPerFootD);
    std::printf("end: %s\n", endText(result.end));
    if (follower) {
        const app::FollowReport r = follower->report();
        const double unit = static_cast<double>(prefs.lengthUnitFactor);
        const std::string name(app::unitShortName(prefs.lengthUnitFactor));
        std::printf("path: %zu points, %.1f %s\n", follower->path().points.size(),
                    follower->length() / unit, name.c_str());
        std::printf("cross-track error (%s): rms %.2f, worst %.2f after point %zu\n", name.c_str(),
                    r.rmsCrossTrack / unit, r.worstCrossTrack / unit, r.worstPoint);
        if (follower->path().hasHeights && r.flying)
            std::printf("height error (%s): worst %.2f\n", name.c_str(), r.worstHeight / unit);
        if (follower->path().timing == app::PathTiming::Times)
            std::printf("marks: %d reached, worst %.2f s off\n", r.marks, r.worstMarkError);
        std::printf("largest roll (deg): %.1f\n", r.maxRoll * kDegPerRadD);
        std::printf("end of path: %s, %.2f %s from the last point\n",
                    r.reachedEnd ? "reached" : (r.gaveUp ? "given up" : "not reached"),
                    r.endDistance / unit, name.c_str());
    }
    return result.end == app::HeadlessEnd::Stopped ? kExitUnstable : kExitOk;
}

const CommandRegistrar kSimulate{
    Command{"simulate", "run the simulation headless and write its motion", runSimulate}};

} // namespace
} // namespace kv::cli
