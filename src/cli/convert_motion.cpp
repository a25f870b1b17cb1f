#include "cli/convert_motion.h"

#include "app/memory_settings.h"
#include "app/units.h"
#include "cli/command.h"
#include "export/asf_export.h"
#include "export/bvh_export.h"
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
    "usage: kestrovane-cli convert bvh MOTION.kvm [-o OUT.bvh] [--left-hand] [--units U]\n"
    "\n"
    "Writes a BioVision BVH file of the motion at 30 frames per second: three joints\n"
    "for the centre of gravity and one or three per effector, named after the motion\n"
    "file.\n"
    "\n"
    "  -o, --output OUT.bvh  file to write (default: the motion's path with .bvh)\n"
    "  --left-hand           left-hand coordinates (default: right-hand)\n"
    "  --units U             length unit: m, cm, mm, ft, in or yd (default m)\n";

constexpr const char* kAsfUsage =
    "usage: kestrovane-cli convert asf MOTION.kvm [-o OUT.asf] [--left-hand] [--units U]\n"
    "\n"
    "Writes an Acclaim skeleton (.asf) and motion (.amc) of the motion at 30 frames\n"
    "per second, with the bones of the BVH form. The motion goes beside the skeleton\n"
    "with the extension .amc.\n"
    "\n"
    "  -o, --output OUT.asf  skeleton to write (default: the motion's path with .asf)\n"
    "  --left-hand           left-hand coordinates (default: right-hand)\n"
    "  --units U             length unit: m, cm, mm, ft, in or yd (default m)\n";

/// Prints each message of the core on stderr, one line each.
class StderrMessages final : public MessagePort {
  public:
    void showMessage(std::string_view text) override {
        std::fprintf(stderr, "%.*s\n", static_cast<int>(text.size()), text.data());
    }
};

struct ConvertRequest {
    fs::path input;
    fs::path output;
    exp::ExportOptions options;
};

/// Parses the words after the form; returns an exit code when the run ends
/// here (help shown, or bad usage).
std::optional<int> parseArgs(const std::vector<std::string>& args, std::string_view form,
                             const char* usage, ConvertRequest& request) {
    const auto usageError = [&](const std::string& why) {
        std::fprintf(stderr, "kestrovane-cli convert %.*s: %s\n%s", static_cast<int>(form.size()),
                     form.data(), why.c_str(), usage);
        return kExitUsage;
    };
    std::string units = "m";
    request.options.rightHanded = true;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a == "--help" || a == "-h") {
            std::fputs(usage, stdout);
            return kExitOk;
        }
        if (a == "--left-hand") {
            request.options.rightHanded = false;
            continue;
        }
        const bool isOption = a.size() > 1 && a[0] == '-';
        if (!isOption) {
            if (!request.input.empty())
                return usageError("more than one motion file given");
            request.input = a;
            continue;
        }
        if (a != "-o" && a != "--output" && a != "--units") {
            return usageError("unknown option " + a);
        }
        if (i + 1 >= args.size())
            return usageError("option " + a + " needs a value");
        const std::string& value = args[++i];
        if (a == "--units") {
            units = value;
        } else {
            request.output = value;
        }
    }
    const app::LengthUnitInfo* unit = nullptr;
    for (const auto& u : app::kLengthUnits) {
        if (u.shortName == units)
            unit = &u;
    }
    if (unit == nullptr) {
        return usageError("--units takes m, cm, mm, ft, in or yd, not '" + units + "'");
    }
    request.options.feetPerUnit = unit->feetPerUnit;
    request.options.lengthUnitName = std::string(unit->longName);
    if (request.input.empty())
        return usageError("no motion file given");
    return std::nullopt;
}

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
    if (const auto done = parseArgs(args, form, usage, request))
        return *done;
    if (request.output.empty()) {
        request.output = fs::path(request.input).replace_extension(asf ? ".asf" : ".bvh");
    }
    const fs::path amc = fs::path(request.output).replace_extension(".amc");
    std::error_code ec;
    for (const fs::path& out :
         asf ? std::vector<fs::path>{request.output, amc} : std::vector<fs::path>{request.output}) {
        if (out == request.input || fs::equivalent(out, request.input, ec)) {
            std::fprintf(stderr,
                         "kestrovane-cli convert %.*s: the output %s would replace the motion "
                         "file\n%s",
                         static_cast<int>(form.size()), form.data(), out.c_str(), usage);
            return kExitUsage;
        }
    }
    CameraSlot camera;
    if (!camera.allocate()) {
        std::fputs("There is not enough memory to load the motion file.\n", stderr);
        return kExitFailure;
    }
    StderrMessages messages;
    const std::string title = exp::motionTitle(request.input);
    if (asf) {
        if (!exp::exportAsfAmc(request.input, request.output, amc, title, request.options,
                               camera.slot(), messages)) {
            return kExitFailure;
        }
        std::printf("%s\n%s\n", request.output.c_str(), amc.c_str());
        return kExitOk;
    }
    if (!exp::exportBvh(request.input, request.output, title, request.options, camera.slot(),
                        messages)) {
        return kExitFailure;
    }
    std::printf("%s\n", request.output.c_str());
    return kExitOk;
}

} // namespace

int convertBvh(const std::vector<std::string>& args) {
    return runExport(args, "bvh", kBvhUsage, false);
}

int convertAsf(const std::vector<std::string>& args) {
    return runExport(args, "asf", kAsfUsage, true);
}

} // namespace kv::cli
