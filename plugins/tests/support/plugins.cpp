#include "support/plugins.h"

#include <gtest/gtest.h>

namespace kv::plugtest {

std::unique_ptr<lwtest::PluginModule> loadModule(const char* path) {
    std::string error;
    auto module = lwtest::PluginModule::load(path, error);
    EXPECT_TRUE(module) << path << ": " << error;
    return module;
}

} // namespace kv::plugtest
