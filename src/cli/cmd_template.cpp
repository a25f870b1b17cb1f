// kestrovane-cli template: writes one of the built-in vehicles as an object file.

#include "cli/command.h"
#include "cli/mesh_source.h"
#include "cli/stderr_messages.h"
#include "common/file_names.h"
#include "geometry/mesh_store.h"
#include "model/object_file.h"
#include "model/object_model.h"
#include "model/template.h"
#include "model/template_mesh.h"

#include <array>
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

namespace kv::cli {
namespace {

constexpr const char* kTemplateHelp =
    "usage: kestrovane-cli template car|motorcycle|aircraft|helicopter -o OUT.kvo\n"
    "\n"
    "Writes a built-in vehicle, its record and its mesh, as an object file.\n"
    "\n"
    "  -o, --output OUT.kvo  object file to write (required)\n"
    "  --help                show this text\n";

struct VehicleName {
    std::string_view word;
    model::VehicleType type;
};

constexpr std::array<VehicleName, 4> kVehicles{{
    {"car", model::kVehicleCar},
    {"motorcycle", model::kVehicleMotorcycle},
    {"aircraft", model::kVehicleAircraft},
    {"helicopter", model::kVehicleHelicopter},
}};

int usageError(const std::string& why) {
    std::fprintf(stderr, "kestrovane-cli template: %s\n\n%s", why.c_str(), kTemplateHelp);
    return kExitUsage;
}

int runTemplate(const std::vector<std::string>& args) {
    std::string vehicle;
    std::string output;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a == "--help" || a == "-h") {
            std::fputs(kTemplateHelp, stdout);
            return kExitOk;
        }
        if (a == "-o" || a == "--output") {
            if (i + 1 >= args.size())
                return usageError("option " + a + " needs a value");
            if (!output.empty())
                return usageError("more than one output file given");
            output = args[++i];
            continue;
        }
        if (a.size() > 1 && a[0] == '-')
            return usageError("unknown option " + a);
        if (!vehicle.empty())
            return usageError("more than one vehicle given");
        vehicle = a;
    }
    if (vehicle.empty())
        return usageError("no vehicle given");
    const VehicleName* chosen = nullptr;
    for (const auto& v : kVehicles) {
        if (v.word == vehicle)
            chosen = &v;
    }
    if (chosen == nullptr)
        return usageError("unknown vehicle '" + vehicle +
                          "' (car, motorcycle, aircraft or helicopter)");
    if (output.empty())
        return usageError("no output file given (-o OUT.kvo)");

    StderrMessages messages("kestrovane-cli template");
    model::ObjectRecord record;
    model::resetObject(record);
    record.vehicleType = chosen->type;
    model::applyTemplate(record);

    geom::MeshStore meshes(messages);
    if (!meshes.allocate(1)) {
        std::fputs("kestrovane-cli template: not enough memory for the mesh\n", stderr);
        return kExitFailure;
    }
    meshes.clearGeometry(0);
    if (model::loadTemplateMesh(chosen->type, [&meshes](const std::array<double, 12>& c) {
            return meshes.addFace(c);
        }) == 0) {
        return kExitFailure;
    }
    if (!model::saveObjectFile(pathFromUtf8(output), record, meshSource(meshes, 0), messages))
        return kExitFailure;
    std::printf("%s\n", output.c_str());
    return kExitOk;
}

const CommandRegistrar kTemplate{
    Command{"template", "write a built-in vehicle as an object file", runTemplate}};

} // namespace
} // namespace kv::cli
