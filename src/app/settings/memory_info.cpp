#include "app/settings/memory_info.h"

#include <charconv>
#include <fstream>
#include <limits>
#include <sstream>
#include <string>

namespace kv::app {

std::optional<std::int64_t> parseMemTotal(std::string_view meminfo) {
    constexpr std::string_view key = "MemTotal:";
    std::size_t at = 0;
    while (at < meminfo.size()) {
        const std::size_t end = std::min(meminfo.find('\n', at), meminfo.size());
        std::string_view line = meminfo.substr(at, end - at);
        at = end + 1;
        if (!line.starts_with(key)) {
            continue;
        }
        line.remove_prefix(key.size());
        while (!line.empty() && (line.front() == ' ' || line.front() == '\t')) {
            line.remove_prefix(1);
        }
        std::int64_t kb = 0;
        const auto [rest, ec] = std::from_chars(line.data(), line.data() + line.size(), kb);
        const std::string_view unit(rest,
                                    static_cast<std::size_t>(line.data() + line.size() - rest));
        if (ec != std::errc{} || kb < 0 || kb > std::numeric_limits<std::int64_t>::max() / 1024 ||
            (unit != " kB" && unit != " kB\r")) {
            return std::nullopt;
        }
        return kb * 1024;
    }
    return std::nullopt;
}

std::optional<std::int64_t> totalPhysicalMemory() {
    std::ifstream in("/proc/meminfo");
    if (!in) {
        return std::nullopt;
    }
    std::ostringstream text;
    text << in.rdbuf();
    return parseMemTotal(text.str());
}

} // namespace kv::app
