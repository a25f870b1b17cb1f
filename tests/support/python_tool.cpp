#include "support/python_tool.h"

#include "support/node_tool.h"

namespace kv::pythontest {

namespace fs = std::filesystem;

fs::path python() {
    return "/usr/bin/python3";
}

fs::path scriptFolder() {
    return fs::path(KV_TEST_DATA_DIR).parent_path() / "python";
}

std::string unavailableReason(const std::string& module) {
    std::error_code ec;
    if (!fs::exists(python(), ec))
        return "Debian's python3 is not installed; the cross-check needs it";
    int status = 0;
    nodetest::runCommand(nodetest::quoted(python()) + " -c 'import " + module + "' 2>&1", status);
    if (status != 0)
        return "the Python module '" + module + "' is not installed (Debian: python3-" + module +
               ", see scripts/setup.sh)";
    return {};
}

std::string runScript(const std::string& name, const std::string& args, int& status) {
    return nodetest::runCommand(nodetest::quoted(python()) + " " +
                                    nodetest::quoted(scriptFolder() / name) + " " + args + " 2>&1",
                                status);
}

} // namespace kv::pythontest
