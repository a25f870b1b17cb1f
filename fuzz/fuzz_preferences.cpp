// Feeds arbitrary bytes to the preference file reader and checks that a record
// read back encodes to the bytes it came from.

#include "app/settings/memory_settings.h"
#include "app/settings/preferences.h"
#include "app/settings/preferences_file.h"

#include <cstdint>
#include <cstring>
#include <span>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    kv::app::Preferences p;
    const auto status = kv::app::decodePreferenceFile(std::span<const std::uint8_t>(data, size), p);
    if (status == kv::app::PreferenceFileStatus::kRead) {
        const kv::app::PreferenceImage image = kv::app::encodePreferences(p);
        if (std::memcmp(image.data(), data + 4, image.size()) != 0) {
            __builtin_trap();
        }
        if (!kv::app::memorySettingsInRange(kv::app::memorySettingsOf(p))) {
            __builtin_trap();
        }
        (void)kv::app::memoryAssigned(kv::app::memorySettingsOf(p));
    }
    return 0;
}
