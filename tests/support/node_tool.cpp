#include "support/node_tool.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

namespace kv::nodetest {

namespace fs = std::filesystem;

fs::path nodeFolder() {
    return fs::path(KV_TEST_DATA_DIR).parent_path() / "node";
}

fs::path findNode() {
    const char* path = std::getenv("PATH");
    if (path == nullptr)
        return {};
    std::string dirs(path);
    std::size_t start = 0;
    while (start <= dirs.size()) {
        const std::size_t end = std::min(dirs.find(':', start), dirs.size());
        const fs::path dir = dirs.substr(start, end - start);
        for (const char* name : {"node", "nodejs"}) {
            std::error_code ec;
            if (!dir.empty() && fs::is_regular_file(dir / name, ec))
                return dir / name;
        }
        start = end + 1;
    }
    return {};
}

std::string unavailableReason(const std::string& package) {
    if (findNode().empty())
        return "Node.js is not installed; the cross-check needs it";
    if (!fs::exists(nodeFolder() / "node_modules" / package / "package.json")) {
        return "the npm package '" + package +
               "' is not installed in tests/node (run 'npm install' there, or "
               "scripts/setup.sh)";
    }
    return {};
}

std::string quoted(const fs::path& p) {
    std::string out = "'";
    for (char c : p.string())
        out += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return out + "'";
}

std::string runCommand(const std::string& command, int& status) {
    std::string out;
    std::FILE* pipe = ::popen(command.c_str(), "r");
    if (pipe == nullptr) {
        status = -1;
        return out;
    }
    char buffer[4096];
    std::size_t n = 0;
    while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0)
        out.append(buffer, n);
    status = ::pclose(pipe);
    return out;
}

} // namespace kv::nodetest
