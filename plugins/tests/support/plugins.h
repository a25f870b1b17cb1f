#pragma once
/// Loading the two plug-ins into the test host.

#include "lw_test_host.h"

#include <memory>

namespace kv::plugtest {

/// The module at `path`; fails the current test when it does not load.
std::unique_ptr<lwtest::PluginModule> loadModule(const char* path);

} // namespace kv::plugtest
