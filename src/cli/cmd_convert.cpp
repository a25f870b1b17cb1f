// kestrovane-cli convert: turns a motion file into another package's format.
// Each form (the word after "convert") has its own options; the LightWave
// scene form shares its conversion source with the Kestrovane-Load plug-in.

#include "cli/command.h"
#include "cli/convert_motion.h"
#include "load/lws_convert.h"

#include <charconv>
#include <cstdio>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kv::cli {
namespace {

/// One form of the convert command.
struct ConvertForm {
    std::string_view name;
    std::string_view summary;
    int (*run)(const std::vector<std::string>& args); ///< arguments after the form's name
};

std::optional<double> parseNumber(std::string_view text) {
    double v = 0.0;
    const auto r = std::from_chars(text.data(), text.data() + text.size(), v);
    if (r.ec != std::errc() || r.ptr != text.data() + text.size())
        return std::nullopt;
    return v;
}

std::optional<int> parseInteger(std::string_view text) {
    int v = 0;
    const auto r = std::from_chars(text.data(), text.data() + text.size(), v);
    if (r.ec != std::errc() || r.ptr != text.data() + text.size())
        return std::nullopt;
    return v;
}

// ---- convert lws ----------------------------------------------------------------

constexpr const char* kLwsUsage =
    "usage: kestrovane-cli convert lws MOTION.kvm [-o SCENE.lws] [--fps N] [--skip K]\n"
    "                                 [--scale PERCENT] [--offset SECONDS]\n"
    "\n"
    "Writes a LightWave scene of null objects, one for the centre of gravity and one\n"
    "per effector, keyed from the motion file.\n"
    "\n"
    "  -o, --output SCENE  scene file to write (default: the motion's name with .lws)\n"
    "  --fps N             frames per second of the scene (default 30)\n"
    "  --skip K            Frame Skip: key every K-th frame (default 1)\n"
    "  --scale PERCENT     Time Scale (%): playback speed of the motion (default 100)\n"
    "  --offset SECONDS    Time Offset (Sec): stillness before the motion (default 0)\n";

int lwsUsageError(const std::string& why) {
    std::fprintf(stderr, "kestrovane-cli convert lws: %s\n%s", why.c_str(), kLwsUsage);
    return kExitUsage;
}

int runLws(const std::vector<std::string>& args) {
    std::string input;
    std::string output;
    double fps = 30.0;
    lws::SceneSettings settings;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a == "--help" || a == "-h") {
            std::fputs(kLwsUsage, stdout);
            return kExitOk;
        }
        const bool isOption = a.size() > 1 && a[0] == '-';
        if (!isOption) {
            if (!input.empty())
                return lwsUsageError("more than one motion file given");
            input = a;
            continue;
        }
        if (i + 1 >= args.size())
            return lwsUsageError("option " + a + " needs a value");
        const std::string& value = args[++i];
        if (a == "-o" || a == "--output") {
            output = value;
        } else if (a == "--fps") {
            const auto v = parseNumber(value);
            if (!v)
                return lwsUsageError("--fps takes a number, not '" + value + "'");
            fps = *v;
        } else if (a == "--skip") {
            const auto v = parseInteger(value);
            if (!v)
                return lwsUsageError("--skip takes a whole number, not '" + value + "'");
            settings.frameSkip = *v;
        } else if (a == "--scale") {
            const auto v = parseNumber(value);
            if (!v)
                return lwsUsageError("--scale takes a number, not '" + value + "'");
            settings.timeScalePercent = *v;
        } else if (a == "--offset") {
            const auto v = parseNumber(value);
            if (!v)
                return lwsUsageError("--offset takes a number, not '" + value + "'");
            settings.timeOffset = *v;
        } else {
            return lwsUsageError("unknown option " + a);
        }
    }
    if (input.empty())
        return lwsUsageError("no motion file given");
    if (output.empty())
        output = lws::scenePathFor(input);

    const auto result = lws::convertMotionToScene(input, output, fps, settings);
    if (result.outcome != lws::Outcome::Written) {
        std::fprintf(stderr, "%s\n", result.text.c_str());
        return kExitFailure;
    }
    std::printf("%s\n", output.c_str());
    return kExitOk;
}

// ---- the command ------------------------------------------------------------------

constexpr ConvertForm kForms[] = {
    {"lws", "LightWave scene of null objects", runLws},
    {"bvh", "BioVision BVH motion capture file", convertBvh},
    {"asf", "Acclaim ASF skeleton and AMC motion files", convertAsf},
    {"gltf", "glTF 2.0 file of the vehicle, its effectors and its motion", convertGltf},
    {"dxf", "DXF file of an object's geometry (from .kvo or .kvm)", convertDxf},
};

void printConvertUsage(std::FILE* out) {
    std::fputs("usage: kestrovane-cli convert <form> FILE [options]\n\nforms:\n", out);
    for (const auto& f : kForms) {
        std::fprintf(out, "  %-6.*s %.*s\n", static_cast<int>(f.name.size()), f.name.data(),
                     static_cast<int>(f.summary.size()), f.summary.data());
    }
    std::fputs("\nRun 'kestrovane-cli convert <form> --help' for a form's options.\n", out);
}

int runConvert(const std::vector<std::string>& args) {
    if (args.empty()) {
        printConvertUsage(stderr);
        return kExitUsage;
    }
    if (args[0] == "--help" || args[0] == "-h") {
        printConvertUsage(stdout);
        return kExitOk;
    }
    for (const auto& f : kForms) {
        if (args[0] == f.name)
            return f.run(std::vector<std::string>(args.begin() + 1, args.end()));
    }
    std::fprintf(stderr, "kestrovane-cli convert: unknown form '%s'\n", args[0].c_str());
    printConvertUsage(stderr);
    return kExitUsage;
}

const CommandRegistrar registrar{Command{
    "convert", "convert a motion file (lws, bvh, asf) or an object's geometry (dxf)", runConvert}};

} // namespace
} // namespace kv::cli
