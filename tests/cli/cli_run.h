#pragma once
/// Runs kestrovane-cli as a separate process and captures what it printed.

#include "model/motion_frame.h"

#include <array>
#include <filesystem>
#include <string>
#include <vector>

namespace kv::clitest {

struct CliResult {
    int exitCode = -1; ///< exit status, or -1 when the process did not exit normally
    std::string out;   ///< everything written to stdout
    std::string err;   ///< everything written to stderr
};

/// Runs the tool with `args` (no shell involved in the arguments).
CliResult runCli(const std::vector<std::string>& args);

std::string readAll(const std::filesystem::path& file);
void writeAll(const std::filesystem::path& file, const std::string& bytes);

/// Starts `program` with `args` without waiting for it: TMPDIR set to `tmp`,
/// `extraEnv` added, stdout discarded and stderr written to `errFile` (empty:
/// discarded). The process id, or -1 when it could not be started.
int spawnProgram(const std::string& program, const std::vector<std::string>& args,
                 const std::filesystem::path& tmp, const std::filesystem::path& errFile = {},
                 const std::vector<std::string>& extraEnv = {});

/// The frames of a motion file, read back with the program's own reader;
/// none when it cannot be read.
std::vector<model::MotionFrame> framesOf(const std::filesystem::path& file);

/// A DXF file of 3DFACE entities, each four corners x, y, z (file units).
std::string dxfText(const std::vector<std::array<double, 12>>& faces);

} // namespace kv::clitest
