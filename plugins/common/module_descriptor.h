#pragma once
// The module descriptor every plug-in exports: the host reads `_mod_descrip`
// by name, checks the sync word and version, calls startup once, and finds
// the plug-in's one server in the null-terminated server list. Both plug-ins
// share it as a header: they must not link each other.

#include "lw_interface.h"

namespace kv::lwplug {

/// The startup result only has to be non-null: the plug-ins keep no module state.
inline void* moduleStartup() {
    static char token;
    return &token;
}

inline void moduleShutdown(void*) {}

} // namespace kv::lwplug

/// Defines the server list with one server of `serverClass` named `serverName`
/// (activated by `activate`) and the exported module descriptor.
#define KV_LW_SINGLE_SERVER_MODULE(serverClass, serverName, activate)                              \
    namespace {                                                                                    \
    ServerRecord kvServerDefs[] = {                                                                \
        {serverClass, serverName, activate, nullptr},                                              \
        {nullptr, nullptr, nullptr, nullptr},                                                      \
    };                                                                                             \
    }                                                                                              \
    extern "C" {                                                                                   \
    KV_LW_EXPORT ModuleDescriptor _mod_descrip = {                                                 \
        MOD_SYSSYNC,                                                                               \
        MOD_SYSVER,                                                                                \
        MOD_MACHINE,                                                                               \
        kv::lwplug::moduleStartup,                                                                 \
        kv::lwplug::moduleShutdown,                                                                \
        kvServerDefs,                                                                              \
    };                                                                                             \
    }
