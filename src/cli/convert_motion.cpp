#include "cli/convert_motion.h"

#include "app/document/gltf_options.h"
#include "app/settings/memory_settings.h"
#include "app/settings/units.h"
#include "cli/command.h"
#include "cli/convert_args.h"
#include "cli/stderr_messages.h"
#include "common/file_names.h"
#include "export/asf_export.h"
#include "export/bvh_export.h"
#include "export/gltf_export.h"
#include "export/joint_names.h"
#include "model/object_model.h"

#include <cstdio>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace kv::cli {
namespace {

namespace fs = std::filesystem;

constexpr const char* kBvhUsage =
    "usage: kestrovane-cli convert bvh MOTION.kvm [-o OUT.bvh] [--units U] [--axes right|left]\n"
    "\n"
    "Writes a BioVision BVH file of the motion at 30 frames per second: three joints\n"
    "for the centre of gravity and one or three per effector, named after the motion\n"
    "file.\n"
    "\n"
    "  -o, --output OUT.bvh  file to write (default: the motion's path with .bvh)\n"
    "  --units U             length unit: mm, cm, m, in, ft or yd (default m)\n"
    "  --axes right|left     right- or left-hand coordinates (default left)\n";

constexpr const char* kAsfUsage =
    "usage: kestrovane-cli convert asf MOTION.kvm [-o OUT_BASE] [--units U] [--axes right|left]\n"
    "\n"
    "Writes an Acclaim skeleton (.asf) and motion (.amc) of the motion at 30 frames\n"
    "per second, with the bones of the BVH form. The motion goes beside the skeleton\n"
    "with the extension .amc.\n"
    "\n"
    "  -o, --output OUT_BASE  skeleton to write, the motion beside it with .amc\n"
    "                         (default: the motion's path with .asf)\n"
    "  --units U              length unit: mm, cm, m, in, ft or yd (default m)\n"
    "  --axes right|left      right- or left-hand coordinates (default left)\n";

constexpr const char* kGltfUsage =
    "usage: kestrovane-cli convert gltf MOTION.kvm [-o OUT.glb|OUT.gltf]\n"
    "       kestrovane-cli convert gltf --project P.kvp [--take T.kvm] [--camera C.kvm]\n"
    "                                   [-o OUT.glb]\n"
    "\n"
    "Writes a glTF 2.0 file of the motion: the vehicle's mesh in the object's colour,\n"
    "one node per effector parented like the effector tree and named as in the BVH\n"
    "form, and one animation keyed at the motion's own frame times. Lengths are in\n"
    "metres with +Y up and +Z forward, whatever the working units.\n"
    "\n"
    "  -o, --output OUT    file to write: OUT.glb (binary, the default form) or\n"
    "                      OUT.gltf with its buffer beside it in OUT.bin\n"
    "                      (default: the motion's path with .glb)\n"
    "\n"
    "With --project the whole scene is written instead: terrain, scenery, every\n"
    "object and the camera (see 'convert gltf --project P.kvp --help').\n";

/// The camera slot an export reads into: the store holds a simulated slot and
/// the camera, each with room for the longest motion a run can record.
struct CameraSlot {
    model::MotionStore store;
    model::ObjectRecord camera;

    bool allocate() {
        model::resetCamera(camera);
        // One place more than the longest recording, for its end marker.
        return store.allocate(2, app::kMaxRecordFrames + 1);
    }
    exp::ExportSlot slot() {
        model::MotionTarget target;
        target.slot = 1;
        target.record = &camera;
        return {target, &store};
    }
};

int runExport(const std::vector<std::string>& args, std::string_view form, const char* usage,
              bool asf) {
    ConvertRequest request;
    if (const auto done = parseConvertArgs(args, form, usage, "no motion file given", request))
        return *done;
    if (request.output.empty()) {
        request.output = fs::path(request.input).replace_extension(asf ? ".asf" : ".bvh");
    } else if (asf && lowerExtension(request.output) != ".asf") {
        // A base name: the skeleton and the motion take it with their extensions.
        request.output += ".asf";
    }
    const fs::path amc = fs::path(request.output).replace_extension(".amc");
    std::error_code ec;
    for (const fs::path& out :
         asf ? std::vector<fs::path>{request.output, amc} : std::vector<fs::path>{request.output}) {
        if (out == request.input || fs::equivalent(out, request.input, ec)) {
            std::fprintf(stderr,
                         "kestrovane-cli convert %.*s: the output %s would replace the motion "
                         "file\n%s",
                         static_cast<int>(form.size()), form.data(), utf8Name(out).c_str(), usage);
            return kExitUsage;
        }
    }
    CameraSlot camera;
    if (!camera.allocate()) {
        std::fputs("There is not enough memory to load the motion file.\n", stderr);
        return kExitFailure;
    }
    StderrMessages messages("kestrovane-cli convert " + std::string(form));
    exp::ExportOptions options;
    options.rightHanded = request.axes == geom::DxfAxes::RightHand;
    options.feetPerUnit = request.unit->feetPerUnit;
    options.lengthUnitName = std::string(request.unit->longName);
    const std::string title = exp::motionTitle(request.input);
    if (asf) {
        if (!exp::exportAsfAmc(request.input, request.output, amc, title, options, camera.slot(),
                               messages)) {
            return kExitFailure;
        }
        std::printf("%s\n%s\n", utf8Name(request.output).c_str(), utf8Name(amc).c_str());
        return kExitOk;
    }
    if (!exp::exportBvh(request.input, request.output, title, options, camera.slot(), messages)) {
        return kExitFailure;
    }
    std::printf("%s\n", utf8Name(request.output).c_str());
    return kExitOk;
}

} // namespace

int convertGltf(const std::vector<std::string>& args) {
    for (const std::string& a : args) {
        if (a == "--project" || a == "--take" || a == "--camera")
            return convertGltfScene(args);
    }
    fs::path input;
    fs::path output;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a == "--help" || a == "-h") {
            std::fputs(kGltfUsage, stdout);
            return kExitOk;
        }
        if (a == "-o" || a == "--output") {
            if (i + 1 >= args.size()) {
                std::fprintf(stderr, "kestrovane-cli convert gltf: %s needs a file\n%s", a.c_str(),
                             kGltfUsage);
                return kExitUsage;
            }
            output = pathFromUtf8(args[++i]);
            continue;
        }
        if (a.size() > 1 && a[0] == '-') {
            std::fprintf(stderr, "kestrovane-cli convert gltf: unknown option '%s'\n%s", a.c_str(),
                         kGltfUsage);
            return kExitUsage;
        }
        if (!input.empty()) {
            std::fprintf(stderr, "kestrovane-cli convert gltf: more than one motion file given\n%s",
                         kGltfUsage);
            return kExitUsage;
        }
        input = pathFromUtf8(a);
    }
    if (input.empty()) {
        std::fprintf(stderr, "kestrovane-cli convert gltf: no motion file given\n%s", kGltfUsage);
        return kExitUsage;
    }
    if (output.empty())
        output = fs::path(input).replace_extension(".glb");
    const exp::GltfContainer container = exp::gltfContainerFor(output);
    std::vector<fs::path> outputs{output};
    if (container == exp::GltfContainer::kText)
        outputs.push_back(fs::path(output).replace_extension(".bin"));
    std::error_code ec;
    for (const fs::path& out : outputs) {
        if (out == input || fs::equivalent(out, input, ec)) {
            std::fprintf(stderr,
                         "kestrovane-cli convert gltf: the output %s would replace the motion "
                         "file\n%s",
                         utf8Name(out).c_str(), kGltfUsage);
            return kExitUsage;
        }
    }
    CameraSlot camera;
    if (!camera.allocate()) {
        std::fputs("There is not enough memory to load the motion file.\n", stderr);
        return kExitFailure;
    }
    StderrMessages messages("kestrovane-cli convert gltf");
    exp::GltfOptions options = app::gltfExportOptions(container);
    options.generator = std::string("Kestrovane ") + KV_VERSION;
    if (!exp::exportGltf(input, output, exp::motionTitle(input), options, camera.slot(),
                         messages)) {
        return kExitFailure;
    }
    for (const fs::path& out : outputs)
        std::printf("%s\n", utf8Name(out).c_str());
    return kExitOk;
}

int convertBvh(const std::vector<std::string>& args) {
    return runExport(args, "bvh", kBvhUsage, false);
}

int convertAsf(const std::vector<std::string>& args) {
    return runExport(args, "asf", kAsfUsage, true);
}

} // namespace kv::cli
