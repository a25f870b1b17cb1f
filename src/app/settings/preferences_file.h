#pragma once
/// The preference file "Kestrovane Preferences" in the data folder: the int32
/// 180 followed by the preference record. A missing file gives factory values
/// and a new file; a damaged one (another leading integer, a short record,
/// memory settings outside their ranges, a step or frame period that is not a
/// positive number) gives factory values including the memory settings and is
/// left alone until the user saves the preferences.

#include "app/input/controller_device.h"
#include "app/settings/preferences.h"

#include <cstdint>
#include <filesystem>
#include <functional>
#include <span>

namespace kv::app {

inline constexpr const char* kPreferenceFileName = "Kestrovane Preferences";
inline constexpr std::int32_t kPreferenceFileTag = 180;

enum class PreferenceFileStatus {
    kRead,    ///< the file's record is in use
    kMissing, ///< no file could be opened: factory values
    kDamaged, ///< the file was unusable: factory values
};

/// Decodes a whole preference file's bytes into `p`; on kDamaged `p` holds the
/// factory values including the memory settings. Bytes after the record are
/// ignored.
PreferenceFileStatus decodePreferenceFile(std::span<const std::uint8_t> bytes, Preferences& p);

/// Reads `file` into `p`; on kMissing and kDamaged `p` holds the factory
/// values including the memory settings.
PreferenceFileStatus readPreferenceFile(const std::filesystem::path& file, Preferences& p);

/// Writes `file` (Preferences > Save). The previous file stays when the write
/// fails.
bool writePreferenceFile(const std::filesystem::path& file, const Preferences& p);

/// Start-up: reads the file in `dataFolder`; when it is missing (a fresh
/// install), writes a new one with the factory values and the controller
/// `freshDevice` gives (asked only then; none: the factory mouse). Returns how
/// the file was found.
PreferenceFileStatus
loadPreferencesAtStartUp(const std::filesystem::path& dataFolder, Preferences& p,
                         const std::function<ControllerDevice()>& freshDevice = {});

} // namespace kv::app
