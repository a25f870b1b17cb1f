#pragma once
/// Total physical memory of the machine, behind a function so that tests and
/// other platforms can give their own figure.

#include <cstdint>
#include <functional>
#include <optional>
#include <string_view>

namespace kv::app {

/// Total physical memory in bytes, or nothing when it cannot be told.
using PhysicalMemoryQuery = std::function<std::optional<std::int64_t>()>;

/// The "MemTotal:" line of a /proc/meminfo text (kB) in bytes.
std::optional<std::int64_t> parseMemTotal(std::string_view meminfo);

/// Reads /proc/meminfo.
std::optional<std::int64_t> totalPhysicalMemory();

} // namespace kv::app
