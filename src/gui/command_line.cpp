#include "gui/command_line.h"

#include <cstdio>
#include <cstring>

namespace kv::gui {

const char* const kDesktopUsage =
    "usage: kestrovane [FILE ...]\n"
    "\n"
    "The Kestrovane desktop program: build a scene from DXF terrain and scenery,\n"
    "drive a vehicle live and record its motion.\n"
    "\n"
    "Each FILE is opened as if it were dropped on the window, by its extension:\n"
    "  FILE.kvp  a project, in place of the open one\n"
    "  FILE.kvo  an object file, as the simulated object\n"
    "  FILE.kvm  a motion file, added as a dynamic object that plays it back\n"
    "\n"
    "options:\n"
    "  --help     show this text\n"
    "  --version  print the version\n"
    "\n"
    "Qt's own options (for example -platform offscreen) are accepted too.\n";

std::optional<int> answerInfoOption(int argc, const char* const* argv) {
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) {
            std::fputs(kDesktopUsage, stdout);
            return 0;
        }
        if (std::strcmp(argv[i], "--version") == 0) {
            std::printf("kestrovane %s\n", KV_VERSION);
            return 0;
        }
    }
    return std::nullopt;
}

} // namespace kv::gui
