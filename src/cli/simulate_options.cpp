#include "cli/simulate_options.h"

#include "app/settings/units.h"
#include "cli/dxf_axes_option.h"
#include "simulation/environment/environment.h"

#include <charconv>
#include <cmath>
#include <string_view>

namespace kv::cli {

namespace {

bool parseDouble(std::string_view s, double& out) {
    if (!s.empty() && s.front() == '+')
        s.remove_prefix(1);
    const auto r = std::from_chars(s.data(), s.data() + s.size(), out);
    return !s.empty() && r.ec == std::errc() && r.ptr == s.data() + s.size() && std::isfinite(out);
}

/// Comma-separated finite numbers, exactly `count` of them, each within float range.
bool parseList(std::string_view s, std::size_t count, std::vector<float>& out) {
    out.clear();
    while (true) {
        const std::size_t comma = s.find(',');
        double v = 0.0;
        if (!parseDouble(s.substr(0, comma), v) || std::fabs(v) > 1.0e30)
            return false;
        out.push_back(static_cast<float>(v));
        if (comma == std::string_view::npos)
            break;
        s.remove_prefix(comma + 1);
    }
    return out.size() == count;
}

struct VehicleWord {
    std::string_view word;
    std::int32_t type;
};

constexpr VehicleWord kVehicles[] = {{"car", model::kVehicleCar},
                                     {"motorcycle", model::kVehicleMotorcycle},
                                     {"aircraft", model::kVehicleAircraft},
                                     {"helicopter", model::kVehicleHelicopter}};

} // namespace

std::optional<std::string> parseSimulateOptions(const std::vector<std::string>& args,
                                                SimulateOptions& o, bool& help) {
    help = false;
    int sources = 0;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a == "--help" || a == "-h") {
            help = true;
            return std::nullopt;
        }
        if (a == "--turbulence") {
            o.turbulence = true;
            continue;
        }
        if (a == "--trim") {
            o.trim = true;
            continue;
        }
        if (a == "--gltf") {
            if (i + 1 >= args.size() || args[i + 1].empty())
                return "option --gltf needs a value";
            o.gltfOutput = args[++i];
            continue;
        }
        if (a.empty() || a[0] != '-')
            return "unexpected argument '" + a + "'";
        static constexpr std::string_view kValued[] = {
            "--vehicle", "--object",   "--project", "--terrain",  "--controls",
            "--replay",  "--duration", "--fps",     "--accuracy", "--initial",
            "--wind",    "--gravity",  "-o",        "--output",   "--camera-out",
            "--follow",  "--speed",    "--units",   "--axes"};
        bool known = false;
        for (std::string_view k : kValued)
            known = known || a == k;
        if (!known)
            return "unknown option " + a;
        if (i + 1 >= args.size())
            return "option " + a + " needs a value";
        const std::string& v = args[++i];
        std::vector<float> list;
        if (a == "--vehicle") {
            for (const auto& w : kVehicles) {
                if (v == w.word)
                    o.vehicle = w.type;
            }
            if (!o.vehicle)
                return "--vehicle takes car, motorcycle, aircraft or helicopter, not '" + v + "'";
            ++sources;
        } else if (a == "--object") {
            o.object = v;
            ++sources;
        } else if (a == "--project") {
            o.project = v;
            ++sources;
        } else if (a == "--terrain") {
            o.terrain = v;
        } else if (a == "--controls") {
            o.controls = v;
        } else if (a == "--replay") {
            o.replay = v;
        } else if (a == "--follow") {
            o.follow = v;
        } else if (a == "--axes") {
            if (auto why = parseDxfAxesOption(v, o.axes))
                return why;
        } else if (a == "--speed") {
            double sp = 0.0;
            if (!parseDouble(v, sp) || sp <= 0.0 || sp > 10000.0)
                return "--speed takes a speed above 0 and at most 10000, not '" + v + "'";
            o.speed = sp;
        } else if (a == "--units") {
            for (const auto& u : app::kLengthUnits) {
                if (v == u.shortName)
                    o.units = u.feetPerUnit;
            }
            if (!o.units)
                return "--units takes mm, cm, m, in, ft or yd, not '" + v + "'";
        } else if (a == "--duration") {
            double d = 0.0;
            if (!parseDouble(v, d) || d <= 0.0 || d > kMaxDuration)
                return "--duration takes seconds above 0 and at most 86400, not '" + v + "'";
            o.duration = d;
        } else if (a == "--fps") {
            int n = 0;
            const auto r = std::from_chars(v.data(), v.data() + v.size(), n);
            if (r.ec != std::errc() || r.ptr != v.data() + v.size() || n < 1 || n > kMaxFps)
                return "--fps takes a whole number of frames per second from 1 to 1000, not '" + v +
                       "'";
            o.fps = n;
        } else if (a == "--accuracy") {
            if (v == "60")
                o.accuracy = sim::Accuracy::Good;
            else if (v == "120")
                o.accuracy = sim::Accuracy::Better;
            else if (v == "240")
                o.accuracy = sim::Accuracy::Best;
            else
                return "--accuracy takes 60, 120 or 240, not '" + v + "'";
        } else if (a == "--initial") {
            if (!parseList(v, 12, list))
                return "--initial takes twelve numbers N,E,D,ROLL,PITCH,YAW,P,Q,R,U,V,W, not '" +
                       v + "'";
            std::array<float, 12> values{};
            std::copy(list.begin(), list.end(), values.begin());
            o.initial = values;
        } else if (a == "--wind") {
            if (!parseList(v, 2, list) || list[0] < 0.0f)
                return "--wind takes SPEED_FT_S,FROM_DEG (speed 0 or more), not '" + v + "'";
            o.wind = std::array<float, 2>{list[0], list[1]};
        } else if (a == "--gravity") {
            // In g's, as the Gravity dialog takes it; stored in ft/s^2.
            double g = 0.0;
            if (!parseDouble(v, g) || std::fabs(g) > 1.0e5)
                return "--gravity takes a number of g's (-100000 to 100000), not '" + v + "'";
            o.gravity = static_cast<float>(g * static_cast<double>(kStandardGravity));
        } else if (a == "-o" || a == "--output") {
            o.output = v;
        } else {
            o.cameraOutput = v;
        }
        if (v.empty())
            return "option " + a + " needs a value";
    }
    if (sources > 1)
        return "give at most one of --vehicle, --object and --project";
    if (!o.controls.empty() && !o.replay.empty())
        return "give --controls or --replay, not both";
    if (!o.follow.empty() && !o.replay.empty())
        return "give --follow or --replay, not both (a followed take replays with --replay)";
    if (o.speed && o.follow.empty())
        return "--speed goes with --follow";
    if (o.output.empty())
        return "no output file given (-o OUT.kvm)";
    if (o.output == o.cameraOutput)
        return "the motion and the camera cannot go to the same file";
    if (!o.gltfOutput.empty() && (o.gltfOutput == o.output || o.gltfOutput == o.cameraOutput))
        return "the glTF scene cannot go to the file of a motion";
    return std::nullopt;
}

} // namespace kv::cli
