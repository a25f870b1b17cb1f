#include "support/plugins.h"

#include <gtest/gtest.h>

namespace kv::plugtest {

std::unique_ptr<lwtest::PluginModule> loadModule(const char* path) {
    std::string error;
    auto module = lwtest::PluginModule::load(path, error);
    EXPECT_TRUE(module) << path << ": " << error;
    return module;
}

void expectHostAcceptsDescriptor(const lwtest::PluginModule& module) {
    const ModuleDescriptor& d = module.descriptor();
    EXPECT_EQ(d.sysSync, 0x04121994u);
    EXPECT_EQ(d.sysVersion, 3u);
    EXPECT_EQ(d.sysMachine, kHostMachineWord);
    EXPECT_NE(d.startup, nullptr);
    EXPECT_NE(d.shutdown, nullptr);
}

std::vector<std::string> namesUpTo(const std::string& base, int last) {
    std::vector<std::string> names{base};
    for (int n = 2; n <= last; ++n)
        names.push_back(base + " " + std::to_string(n));
    return names;
}

} // namespace kv::plugtest
