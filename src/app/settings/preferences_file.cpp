#include "app/settings/preferences_file.h"

#include "app/settings/memory_settings.h"
#include "common/atomic_file.h"
#include "common/file_names.h"
#include "common/le_io.h"

#include <cmath>
#include <cstdio>
#include <memory>

namespace kv::app {
namespace {

struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};

bool positiveNumber(float v) {
    return std::isfinite(v) && v > 0.0f;
}

/// Values later used as counts or divisors: a file that holds impossible ones
/// is treated as damaged rather than handed on.
bool usable(const Preferences& p) {
    return memorySettingsInRange(memorySettingsOf(p)) && positiveNumber(p.simTimeStep) &&
           positiveNumber(p.framePeriod);
}

} // namespace

PreferenceFileStatus decodePreferenceFile(std::span<const std::uint8_t> bytes, Preferences& p) {
    if (bytes.size() >= 4 + kPreferenceRecordSize &&
        io::getI32(bytes.data()) == kPreferenceFileTag) {
        Preferences read;
        decodePreferences(bytes.subspan<4, kPreferenceRecordSize>(), read);
        if (usable(read)) {
            p = read;
            return PreferenceFileStatus::kRead;
        }
    }
    factoryReset(p, true);
    return PreferenceFileStatus::kDamaged;
}

PreferenceFileStatus readPreferenceFile(const std::filesystem::path& file, Preferences& p) {
    std::unique_ptr<std::FILE, FileCloser> in(kv::openFile(file, "rb"));
    if (!in) {
        factoryReset(p, true);
        return PreferenceFileStatus::kMissing;
    }
    std::array<std::uint8_t, 4 + kPreferenceRecordSize> bytes{};
    const std::size_t n = std::fread(bytes.data(), 1, bytes.size(), in.get());
    return decodePreferenceFile(std::span<const std::uint8_t>(bytes.data(), n), p);
}

bool writePreferenceFile(const std::filesystem::path& file, const Preferences& p) {
    return writeFileAtomically(file, [&](std::FILE* out) {
        std::array<std::uint8_t, 4 + kPreferenceRecordSize> bytes{};
        io::putI32(bytes.data(), kPreferenceFileTag);
        encodePreferences(p, std::span<std::uint8_t, kPreferenceRecordSize>(bytes.data() + 4,
                                                                            kPreferenceRecordSize));
        return std::fwrite(bytes.data(), 1, bytes.size(), out) == bytes.size();
    });
}

PreferenceFileStatus
loadPreferencesAtStartUp(const std::filesystem::path& dataFolder, Preferences& p,
                         const std::function<ControllerDevice()>& freshDevice) {
    const std::filesystem::path file = dataFolder / kPreferenceFileName;
    const PreferenceFileStatus status = readPreferenceFile(file, p);
    if (status == PreferenceFileStatus::kMissing) {
        if (freshDevice)
            p.controllerCentring = controllerDeviceField(freshDevice());
        writePreferenceFile(file, p);
    }
    return status;
}

} // namespace kv::app
