#pragma once
/// Looking up the host's global services by name, shared as source by both
/// plug-ins.

#include "lw_interface.h"

#include <cstddef>

namespace kv::lwplug {

/// The first service the host answers among `names`, asked in order; nullptr
/// when it answers none of them.
template <std::size_t N> void* findGlobal(GlobalFunc* global, const char* const (&names)[N]) {
    for (const char* name : names) {
        if (void* service = global(name, GFUSE_TRANSIENT))
            return service;
    }
    return nullptr;
}

/// Names of a service, the oldest first; later hosts may publish only the
/// numbered ones.
inline constexpr const char* kItemInfoNames[] = {LWITEMINFO_GLOBAL, LWITEMINFO_GLOBAL_LATER};
inline constexpr const char* kSceneInfoNames[] = {LWSCENEINFO_GLOBAL, LWSCENEINFO_GLOBAL_LATER};
inline constexpr const char* kMessageNames[] = {LWMESSAGEFUNCS_GLOBAL, LWMESSAGEFUNCS_GLOBAL_LATER};
inline constexpr const char* kPanelNames[] = {LWPANELFUNCS_GLOBAL};
inline constexpr const char* kFileRequestNames[] = {LWFILEREQFUNC_GLOBAL};

} // namespace kv::lwplug
