// kestrovane-cli convert gltf --project: the whole scene of a project (its
// terrain, scenery and objects with their stored motion), with a take in
// place of the simulated object's still copy and the recorded camera, as one
// glTF file.

#include "app/document/document.h"
#include "app/document/scene_gltf.h"
#include "app/settings/memory_settings.h"
#include "cli/command.h"
#include "cli/convert_args.h"
#include "cli/convert_motion.h"
#include "cli/document_answers.h"
#include "cli/stderr_messages.h"
#include "cli/terminal_progress.h"
#include "common/file_names.h"
#include "export/joint_names.h"
#include "geometry/working_files.h"
#include "model/motion_file.h"
#include "model/object_model.h"

#include <cstdio>
#include <filesystem>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <system_error>
#include <vector>

namespace kv::cli {
namespace {

namespace fs = std::filesystem;

constexpr const char* kPrefix = "kestrovane-cli convert gltf";

constexpr const char* kSceneUsage =
    "usage: kestrovane-cli convert gltf --project P.kvp [--take T.kvm] [--camera C.kvm]\n"
    "                                   [-o OUT.glb]\n"
    "\n"
    "Writes the whole scene of a project as one binary glTF 2.0 file: the terrain\n"
    "(\"Terrain\"), each scenery set (\"Scenery 1\" ...), every object with its mesh,\n"
    "effector nodes and stored motion, and the recorded camera (\"Camera\") with the\n"
    "vertical field of view of the camera view. One animation holds every channel.\n"
    "Lengths are in metres with +Y up and +Z north.\n"
    "\n"
    "  --project P.kvp   the project\n"
    "  --take T.kvm      a take of the project's simulated object, in place of its\n"
    "                    still copy\n"
    "  --camera C.kvm    the camera's motion (simulate --camera-out)\n"
    "  -o, --output OUT  file to write (default: the project's path with .glb)\n";

int usageError(const std::string& why) {
    std::fprintf(stderr, "%s: %s\n%s", kPrefix, why.c_str(), kSceneUsage);
    return kExitUsage;
}

int failure(const std::string& why) {
    std::fprintf(stderr, "%s: %s\n", kPrefix, why.c_str());
    return kExitFailure;
}

/// A motion file read on its own: its record, whether it has geometry, and
/// its frames.
struct ReadMotion {
    model::MotionStore store;
    model::ObjectRecord record;
    int triangles = 0;

    /// Reads `file`; false (with a message naming the file) when it cannot be read.
    bool read(const fs::path& file) {
        if (!store.allocate(1, app::kMaxRecordFrames + 1)) {
            failure("there is not enough memory to read " + utf8Name(file));
            return false;
        }
        const model::GeometryIntake countGeometry{[] {},
                                                  [this](const std::array<double, 12>&) {
                                                      ++triangles;
                                                      return 1;
                                                  }};
        StderrMessages messages(std::string(kPrefix) + ": " + utf8Name(file));
        bool report = true;
        return model::loadMotion(file, model::MotionTarget{0, &record, countGeometry}, store,
                                 report, messages);
    }
    std::span<const model::MotionFrame> frames() const {
        const int last = store.lastFrame(0);
        return store.frames(0).first(static_cast<std::size_t>(last < 0 ? 0 : last + 1));
    }
};

} // namespace

int convertGltfScene(const std::vector<std::string>& args) {
    fs::path project, take, camera, output;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a == "--help" || a == "-h") {
            std::fputs(kSceneUsage, stdout);
            return kExitOk;
        }
        fs::path* target = nullptr;
        if (a == "--project")
            target = &project;
        else if (a == "--take")
            target = &take;
        else if (a == "--camera")
            target = &camera;
        else if (a == "-o" || a == "--output")
            target = &output;
        else if (a.size() > 1 && a[0] == '-')
            return usageError("unknown option " + a);
        else
            return usageError("a scene takes its files through --project, --take and --camera, "
                              "not '" +
                              a + "'");
        if (i + 1 >= args.size())
            return usageError("option " + a + " needs a file");
        *target = pathFromUtf8(args[++i]);
    }
    if (project.empty())
        return usageError("no project given");
    if (output.empty())
        output = fs::path(project).replace_extension(".glb");
    if (lowerExtension(output) == ".gltf")
        return usageError("the scene is written as a binary .glb file, not " + utf8Name(output));
    std::error_code ec;
    for (const fs::path* in : {&project, &take, &camera}) {
        if (!in->empty() && (*in == output || fs::equivalent(*in, output, ec)))
            return usageError("the output " + utf8Name(output) + " would replace " + utf8Name(*in));
    }

    // Every input is read and checked before anything is written.
    ReadMotion takeMotion;
    if (!take.empty() && !takeMotion.read(take))
        return kExitFailure;
    ReadMotion cameraMotion;
    if (!camera.empty()) {
        if (!cameraMotion.read(camera))
            return kExitFailure;
        // A camera channel is written with the empty camera record: no
        // vehicle, no effectors, no geometry.
        if (cameraMotion.record.vehicleType != model::kVehicleNone ||
            cameraMotion.record.effectorCount != 0 || cameraMotion.triangles != 0) {
            return failure(utf8Name(camera) + " is the motion of \"" +
                           model::recordName(cameraMotion.record.name) +
                           "\", not a camera's (write one with simulate --camera-out)");
        }
        if (cameraMotion.frames().empty())
            return failure(utf8Name(camera) + " holds no camera frames");
    }

    const auto folder = geom::PrivateWorkingFolder::create();
    if (!folder)
        return failure("cannot create a working folder");
    app::MemorySettings memory = app::kFactoryMemory;
    memory.objectSlots = app::kMaxObjectSlots;
    memory.recordFrames = app::kMaxRecordFrames;
    StderrMessages messages(std::string(kPrefix) + ": " + utf8Name(project));
    const std::unique_ptr<ProgressPort> progress = makeProgress();
    DocumentAnswers answers;
    app::Document document(app::DocumentPorts{messages, *progress, answers, answers, *folder});
    if (!document.allocate(memory, true, std::nullopt))
        return failure("there is not enough memory to read " + utf8Name(project));
    if (!fs::is_regular_file(project, ec))
        return failure(utf8Name(project) + " cannot be read: no such file");
    if (!document.openProject(project))
        return kExitFailure;

    app::SceneTakes takes;
    if (!take.empty()) {
        const model::ObjectRecord& simulated = document.object(0);
        if (takeMotion.record.vehicleType != simulated.vehicleType ||
            model::recordName(takeMotion.record.name) != model::recordName(simulated.name)) {
            return failure(utf8Name(take) + " is a take of \"" +
                           model::recordName(takeMotion.record.name) +
                           "\", not of the project's simulated object \"" +
                           model::recordName(simulated.name) + "\"");
        }
        if (takeMotion.frames().empty())
            return failure(utf8Name(take) + " holds no frames");
        takes.objects.push_back(takeMotion.frames());
    }
    if (!camera.empty())
        takes.camera = cameraMotion.frames();

    StderrMessages writeMessages(kPrefix);
    if (!app::exportSceneGltf(document, takes, output, exp::motionTitle(project),
                              std::string("Kestrovane ") + KV_VERSION, *progress, writeMessages)) {
        return kExitFailure;
    }
    std::printf("%s\n", utf8Name(output).c_str());
    return kExitOk;
}

} // namespace kv::cli
