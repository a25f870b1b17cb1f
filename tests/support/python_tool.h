#pragma once
/// Runs the Python checks in tests/python with Debian's Python, whose packages
/// (ezdxf, an independent DXF library) write and read files as other tools do.

#include <filesystem>
#include <string>

namespace kv::pythontest {

/// Debian's Python interpreter (its packages are not on other interpreters' paths).
std::filesystem::path python();

/// The folder of the check scripts.
std::filesystem::path scriptFolder();

/// Why the checks cannot run here (no Python or no `module`), or empty.
std::string unavailableReason(const std::string& module);

/// Runs script `name` of the folder with `args`; its standard output, and
/// `status` the exit status as pclose reports it.
std::string runScript(const std::string& name, const std::string& args, int& status);

} // namespace kv::pythontest
