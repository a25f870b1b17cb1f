#pragma once
/// Runs the Node.js checks in tests/node: independent readers (three.js, the
/// Khronos glTF validator) that look at our files as other tools would.

#include <filesystem>
#include <string>

namespace kv::nodetest {

/// The folder of the Node.js check scripts and their installed packages.
std::filesystem::path nodeFolder();

/// Full path of the node executable on PATH, or empty.
std::filesystem::path findNode();

/// Why the checks cannot run here (node or the npm package `package` is
/// missing), or empty when they can.
std::string unavailableReason(const std::string& package);

/// `p` quoted for the shell.
std::string quoted(const std::filesystem::path& p);

/// Runs `command` through the shell and returns its standard output; `status`
/// is the exit status as pclose reports it.
std::string runCommand(const std::string& command, int& status);

} // namespace kv::nodetest
