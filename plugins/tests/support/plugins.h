#pragma once
/// Loading the two plug-ins into the test host.

#include "lw_test_host.h"

#include <memory>
#include <string>
#include <vector>

namespace kv::plugtest {

/// The module at `path`; fails the current test when it does not load.
std::unique_ptr<lwtest::PluginModule> loadModule(const char* path);

/// The platform word a LightWave host of this platform expects in a module's
/// descriptor, written out rather than taken from the interface header.
#if defined(_WIN32)
inline constexpr unsigned kHostMachineWord = 0x300;
#elif defined(__APPLE__)
inline constexpr unsigned kHostMachineWord = 0x400;
#else
inline constexpr unsigned kHostMachineWord = 0x500;
#endif

/// Checks the descriptor words a host reads before anything else.
void expectHostAcceptsDescriptor(const lwtest::PluginModule& module);

/// `base`, then `base` followed by " 2" ... " last": the names a plug-in asks
/// for, in order, until a host that knows only the last one answers.
std::vector<std::string> namesUpTo(const std::string& base, int last);

} // namespace kv::plugtest
