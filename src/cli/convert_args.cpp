#include "cli/convert_args.h"

#include "cli/command.h"
#include "common/file_names.h"

#include <cctype>
#include <cstdio>

namespace kv::cli {

std::optional<int> parseConvertArgs(const std::vector<std::string>& args, std::string_view form,
                                    const char* usage, const std::string& inputMissing,
                                    ConvertRequest& request, bool zUp) {
    const auto usageError = [&](const std::string& why) {
        std::fprintf(stderr, "kestrovane-cli convert %.*s: %s\n%s", static_cast<int>(form.size()),
                     form.data(), why.c_str(), usage);
        return kExitUsage;
    };
    std::string units = "m";
    std::string axes = "left";
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a == "--help" || a == "-h") {
            std::fputs(usage, stdout);
            return kExitOk;
        }
        const bool isOption = a.size() > 1 && a[0] == '-';
        if (!isOption) {
            if (!request.input.empty())
                return usageError("more than one input file given");
            request.input = pathFromUtf8(a);
            continue;
        }
        if (a != "-o" && a != "--output" && a != "--units" && a != "--axes") {
            return usageError("unknown option " + a);
        }
        if (i + 1 >= args.size())
            return usageError("option " + a + " needs a value");
        const std::string& value = args[++i];
        if (a == "--units") {
            units = value;
        } else if (a == "--axes") {
            axes = value;
        } else {
            request.output = pathFromUtf8(value);
        }
    }
    const auto chosen = geom::dxfAxesFromWord(axes);
    if (!chosen || (*chosen == geom::DxfAxes::ZUp && !zUp)) {
        return usageError(std::string("--axes takes ") +
                          (zUp ? "right, left or zup" : "right or left") + ", not '" + axes + "'");
    }
    request.axes = *chosen;
    const app::LengthUnitInfo* unit = nullptr;
    for (const auto& u : app::kLengthUnits) {
        if (u.shortName == units)
            unit = &u;
    }
    if (unit == nullptr) {
        return usageError("--units takes mm, cm, m, in, ft or yd, not '" + units + "'");
    }
    request.unit = unit;
    if (request.input.empty())
        return usageError(inputMissing);
    return std::nullopt;
}

std::string lowerExtension(const std::filesystem::path& file) {
    std::string ext = utf8Name(file.extension());
    for (char& c : ext)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return ext;
}

} // namespace kv::cli
