// kv-lwtesthost: runs a LightWave plug-in of ours outside LightWave.
//
//   kv-lwtesthost PLUGIN servers
//   kv-lwtesthost PLUGIN convert MOTION [--fps F] [--skip N] [--scale PERCENT]
//                                       [--offset SECONDS] [--cancel] [--no-panel]
//   kv-lwtesthost PLUGIN save OUTPUT --mesh FILE [--skip N] [--cancel] [--no-panel]
//
// A mesh file holds "p x y z" lines (points, LightWave axes) and
// "f flags i j k ..." lines (polygons by point index, flag word in decimal).

#include "lw_test_host.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace {

using kv::lwtest::MeshFixture;
using kv::lwtest::PluginModule;
using kv::lwtest::TestHost;

int usage() {
    std::fputs("usage: kv-lwtesthost PLUGIN servers\n"
               "       kv-lwtesthost PLUGIN convert MOTION [--fps F] [--skip N] [--scale PERCENT]\n"
               "                     [--offset SECONDS] [--cancel] [--no-panel]\n"
               "       kv-lwtesthost PLUGIN save OUTPUT --mesh FILE [--skip N] [--cancel] "
               "[--no-panel]\n",
               stderr);
    return 2;
}

bool readMesh(const std::string& path, MeshFixture& mesh) {
    std::ifstream in(path);
    if (!in)
        return false;
    std::string line;
    while (std::getline(in, line)) {
        std::istringstream words(line);
        std::string kind;
        if (!(words >> kind))
            continue;
        if (kind == "p") {
            std::array<double, 3> p{};
            if (!(words >> p[0] >> p[1] >> p[2]))
                return false;
            mesh.points.push_back(p);
        } else if (kind == "f") {
            MeshFixture::Polygon polygon;
            if (!(words >> polygon.flags))
                return false;
            int index;
            while (words >> index) {
                if (index < 0 || static_cast<std::size_t>(index) >= mesh.points.size())
                    return false;
                polygon.points.push_back(index);
            }
            mesh.polygons.push_back(polygon);
        }
    }
    return true;
}

void report(const TestHost& host, int result) {
    for (const auto& m : host.messages)
        std::printf("message: %s\n", m.c_str());
    std::printf("result: %d\n", result);
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 3)
        return usage();
    const std::vector<std::string> args(argv + 1, argv + argc);
    std::string error;
    auto module = PluginModule::load(args[0], error);
    if (!module) {
        std::fprintf(stderr, "kv-lwtesthost: %s\n", error.c_str());
        return 1;
    }
    const std::string& mode = args[1];
    if (mode == "servers") {
        for (const auto& [cls, name] : module->servers()) {
            std::printf("%s %s\n", cls.c_str(), name.c_str());
        }
        return 0;
    }
    if ((mode != "convert" && mode != "save") || args.size() < 3)
        return usage();

    TestHost host;
    kv::lwtest::PanelScript panel;
    std::string meshFile;
    for (std::size_t i = 3; i < args.size(); ++i) {
        const std::string& a = args[i];
        const bool hasValue = i + 1 < args.size();
        if (a == "--cancel") {
            panel.ok = false;
        } else if (a == "--no-panel") {
            host.missingGlobals.insert(LWPANELFUNCS_GLOBAL);
        } else if (a == "--fps" && hasValue) {
            host.framesPerSecond = std::atof(args[++i].c_str());
        } else if (a == "--skip" && hasValue) {
            const double v = std::atof(args[++i].c_str());
            panel.values["Frame Skip"] = v;
            panel.values["Skip Polygons"] = v;
        } else if (a == "--scale" && hasValue) {
            panel.values["Time Scale (%)"] = std::atof(args[++i].c_str());
        } else if (a == "--offset" && hasValue) {
            panel.values["Time Offset (Sec)"] = std::atof(args[++i].c_str());
        } else if (a == "--mesh" && hasValue) {
            meshFile = args[++i];
        } else {
            return usage();
        }
    }
    host.panelScripts.push_back(panel);

    if (mode == "convert") {
        const ServerRecord* server = module->findServer(LWSCENECONVERTER_CLASS, "Kestrovane-Load");
        if (!server) {
            std::fputs("kv-lwtesthost: the module has no scene converter Kestrovane-Load\n",
                       stderr);
            return 1;
        }
        const auto run = host.convert(*server, args[2]);
        report(host, run.result);
        if (run.failure)
            std::printf("failure: %s\n", run.failure->c_str());
        if (run.scene)
            std::printf("scene: %s\n", run.scene->c_str());
        return run.result == AFUNC_OK && run.scene ? 0 : 1;
    }

    const ServerRecord* server = module->findServer(LWMESHEDIT_CLASS, "Kestrovane-SaveDXF");
    if (!server) {
        std::fputs("kv-lwtesthost: the module has no mesh edit Kestrovane-SaveDXF\n", stderr);
        return 1;
    }
    if (meshFile.empty() || !readMesh(meshFile, host.mesh)) {
        std::fputs("kv-lwtesthost: a readable --mesh file is needed\n", stderr);
        return 2;
    }
    host.fileRequestScripts.push_back({1, args[2]});
    const int result = host.meshEdit(*server);
    report(host, result);
    return result == AFUNC_OK ? 0 : 1;
}
