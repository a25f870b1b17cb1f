#pragma once
/// Commands of kestrovane-cli. Each command lives in its own cmd_*.cpp and
/// registers itself with a static CommandRegistrar, so adding a command touches
/// no shared file.

#include <functional>
#include <string>
#include <vector>

namespace kv::cli {

/// Exit codes: success, a failure the user caused, bad usage.
inline constexpr int kExitOk = 0;
inline constexpr int kExitFailure = 1;
inline constexpr int kExitUsage = 2;
/// A simulation that became unstable: its frames up to the instability were
/// written, but the motion is not a sound take.
inline constexpr int kExitUnstable = 3;

struct Command {
    std::string name;    ///< first word on the command line, e.g. "simulate"
    std::string summary; ///< one line for the command list
    /// Runs with the arguments after the command name; returns the exit code.
    std::function<int(const std::vector<std::string>& args)> run;
};

std::vector<Command>& commandRegistry();

struct CommandRegistrar {
    explicit CommandRegistrar(Command command) { commandRegistry().push_back(std::move(command)); }
};

} // namespace kv::cli
