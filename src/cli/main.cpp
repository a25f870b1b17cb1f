// kestrovane-cli: the headless tool (simulate, convert, inspect).
#include "cli/command.h"
#include "common/file_names.h"
#include "common/terminal.h"
#include "geometry/working_files.h"

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

namespace kv::cli {

std::vector<Command>& commandRegistry() {
    static std::vector<Command> commands;
    return commands;
}

namespace {

void printUsage(std::FILE* out) {
    std::fputs("usage: kestrovane-cli <command> [options]\n\ncommands:\n", out);
    auto commands = commandRegistry();
    std::sort(commands.begin(), commands.end(),
              [](const Command& a, const Command& b) { return a.name < b.name; });
    for (const auto& c : commands) {
        std::fprintf(out, "  %-12s %s\n", c.name.c_str(), c.summary.c_str());
    }
    std::fputs("\nRun 'kestrovane-cli <command> --help' for a command's options;\n"
               "'kestrovane-cli --version' prints the version.\n",
               out);
}

} // namespace
} // namespace kv::cli

int main(int argc, char** argv) {
    using namespace kv::cli;
    // UTF-8 on every platform, so that any file name can be passed.
    const std::vector<std::string> args = kv::utf8Arguments(argc, argv);
    kv::useUtf8Console();
    if (args.empty()) {
        printUsage(stderr);
        return kExitUsage;
    }
    const std::string& name = args[0];
    if (name == "--help" || name == "-h" || name == "help") {
        printUsage(stdout);
        return kExitOk;
    }
    if (name == "--version") {
        std::printf("kestrovane-cli %s\n", KV_VERSION);
        return kExitOk;
    }
    for (const auto& c : commandRegistry()) {
        if (c.name == name) {
            // Working folders of runs that were killed would otherwise stay for good.
            const std::string freed =
                kv::geom::staleSweepMessage(kv::geom::removeStaleWorkingFolders());
            if (!freed.empty())
                std::fprintf(stderr, "kestrovane-cli: %s\n", freed.c_str());
            return c.run(std::vector<std::string>(args.begin() + 1, args.end()));
        }
    }
    std::fprintf(stderr, "kestrovane-cli: unknown command '%s'\n", name.c_str());
    printUsage(stderr);
    return kExitUsage;
}
