// kestrovane-cli terrain: sorts a DXF file as the project's terrain and answers
// ground queries at given points.

#include "cli/command.h"
#include "cli/dxf_axes_option.h"
#include "cli/interrupts.h"
#include "cli/stderr_messages.h"
#include "cli/terminal_progress.h"
#include "common/file_names.h"
#include "geometry/terrain.h"
#include "geometry/working_files.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace kv::cli {
namespace {

constexpr const char* kTerrainHelpHead =
    "usage: kestrovane-cli terrain IN.dxf [--grid N] [--axes right|left|zup]\n"
    "                              --at X,Y [--at X,Y ...]\n"
    "\n"
    "Sorts the DXF file as a project's terrain (read with the default transform:\n"
    "metres, no rotation, translation or scaling, in the --axes system) and prints\n"
    "for each point, in the order given, one line\n"
    "\n"
    "  height nx ny nz\n"
    "\n"
    "where height is the ground's down coordinate (ft; negative above the datum)\n"
    "and (nx, ny, nz) the unit ground normal in earth axes (north, east, down),\n"
    "pointing up. Beyond the terrain the edge heights extend without limit.\n"
    "\n"
    "  --grid N    grid lines per axis, 100 to 5000 in steps of 100 (default 400)\n"
    "  --at X,Y    a point: north X and east Y (ft); at least one is required\n";

constexpr const char* kTerrainHelpTail = "  --help      show this text\n";

std::string terrainHelp() {
    return std::string(kTerrainHelpHead) + kDxfAxesHelp + kTerrainHelpTail;
}

constexpr const char* kPrefix = "kestrovane-cli terrain";
constexpr int kDefaultGrid = 400;
constexpr int kMinGrid = 100;
constexpr int kMaxGrid = 5000;
constexpr int kGridStep = 100;

int usageError(const std::string& why) {
    std::fprintf(stderr, "%s: %s\n\n%s", kPrefix, why.c_str(), terrainHelp().c_str());
    return kExitUsage;
}

std::optional<double> parseFinite(std::string_view text) {
    double v = 0.0;
    const auto r = std::from_chars(text.data(), text.data() + text.size(), v);
    if (r.ec != std::errc() || r.ptr != text.data() + text.size() || !std::isfinite(v))
        return std::nullopt;
    return v;
}

std::optional<std::pair<double, double>> parsePoint(std::string_view text) {
    const auto comma = text.find(',');
    if (comma == std::string_view::npos)
        return std::nullopt;
    const auto x = parseFinite(text.substr(0, comma));
    const auto y = parseFinite(text.substr(comma + 1));
    if (!x || !y)
        return std::nullopt;
    return std::make_pair(*x, *y);
}

std::string number(double v) {
    char buf[32];
    const auto r = std::to_chars(buf, buf + sizeof buf, v);
    return std::string(buf, r.ptr);
}

int runTerrain(const std::vector<std::string>& args) {
    std::string input;
    int grid = kDefaultGrid;
    std::vector<std::pair<double, double>> points;
    std::optional<geom::DxfAxes> axes;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a == "--help" || a == "-h") {
            std::fputs(terrainHelp().c_str(), stdout);
            return kExitOk;
        }
        if (a == "--grid" || a == "--at" || a == "--axes") {
            if (i + 1 >= args.size())
                return usageError("option " + a + " needs a value");
            const std::string& value = args[++i];
            if (a == "--axes") {
                if (const auto why = parseDxfAxesOption(value, axes))
                    return usageError(*why);
            } else if (a == "--at") {
                const auto p = parsePoint(value);
                if (!p)
                    return usageError("--at takes X,Y (two numbers, ft), not '" + value + "'");
                points.push_back(*p);
            } else {
                int n = 0;
                const auto r = std::from_chars(value.data(), value.data() + value.size(), n);
                if (r.ec != std::errc() || r.ptr != value.data() + value.size() || n < kMinGrid ||
                    n > kMaxGrid || n % kGridStep != 0) {
                    return usageError("--grid takes 100 to 5000 in steps of 100, not '" + value +
                                      "'");
                }
                grid = n;
            }
            continue;
        }
        if (a.size() > 1 && a[0] == '-')
            return usageError("unknown option " + a);
        if (!input.empty())
            return usageError("more than one DXF file given");
        input = a;
    }
    if (input.empty())
        return usageError("no DXF file given");
    if (points.empty())
        return usageError("no point given (--at X,Y)");

    catchInterrupts();
    StderrMessages messages(kPrefix);
    const auto folder = geom::PrivateWorkingFolder::create();
    if (!folder) {
        std::fprintf(stderr, "%s: cannot create a working folder\n", kPrefix);
        return kExitFailure;
    }
    geom::TerrainStore terrain(*folder, grid);
    InterruptibleProgress progress(makeProgress());
    if (!terrain.importTerrain(pathFromUtf8(input), importTransformFor(pathFromUtf8(input), axes),
                               progress, messages) ||
        interrupted())
        return interrupted() ? interruptedExit(kPrefix) : kExitFailure;
    if (terrain.ground() == nullptr) {
        std::fprintf(stderr, "%s: there is not enough memory for a terrain grid of %d lines\n",
                     kPrefix, grid);
        return kExitFailure;
    }
    for (std::size_t i = 0; i < points.size(); ++i) {
        // Each point starts its own search: the points need not be near each other.
        const geom::GroundSample s =
            terrain.terrainHeightAndNormal(true, points[i].first, points[i].second);
        std::printf("%s %s %s %s\n", number(s.z).c_str(), number(s.normal[0]).c_str(),
                    number(s.normal[1]).c_str(), number(s.normal[2]).c_str());
    }
    return kExitOk;
}

const CommandRegistrar kTerrain{
    Command{"terrain", "sort a DXF file as terrain and print the ground at points", runTerrain}};

} // namespace
} // namespace kv::cli
