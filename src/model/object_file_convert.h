#pragma once
/// Conversion of previous-version object files (record size 12076) to the
/// current layout, and the in-place upgrade that keeps the old file under a
/// backup name. Previous-version motion files that still carry frames are
/// refused: their frame layout cannot be mapped.

#include "common/ports/messages.h"
#include "model/object_record.h"

#include <array>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

namespace kv::model {

inline constexpr std::size_t kPreviousObjectRecordSize = 12076;
/// Frame size of the previous version (bytes).
inline constexpr std::size_t kPreviousFrameSize = 304;

using PreviousObjectImage = std::array<std::uint8_t, kPreviousObjectRecordSize>;

/// Maps a previous-version record image to the current record, with `name`,
/// `role`, no record channel and the default geometry transform, and applies
/// the two effector corrections: a scale of 1.0 on a degree of freedom driven
/// by None becomes 0; a Strut Compression Down scale and a Pivot Pitch scale
/// are recomputed from the previous record's per-tire strut values and pivot
/// points. Nothing when the image's counts are out of range.
std::optional<ObjectRecord>
convertPreviousRecord(std::span<const std::uint8_t, kPreviousObjectRecordSize> old,
                      std::string_view name, std::int32_t role);

/// A previous-version object read and converted in memory.
struct ConvertedObject {
    ObjectRecord record;
    std::vector<std::array<float, 9>> triangles; ///< corners x, y, z (m), as stored
};

/// Reads a whole previous-version body from `in` (size word included) and
/// converts it. A damaged file shows the object reader's message; one that
/// holds frames shows the "more than one version old" message.
std::optional<ConvertedObject> readPreviousObject(std::FILE* in, std::string_view name,
                                                  std::int32_t role, MessagePort& messages);

/// Reads the previous-version file `oldFile` and writes the converted object
/// file `newFile` (record, geometry, end marker).
bool convertObjectFile(const std::filesystem::path& oldFile, const std::filesystem::path& newFile,
                       std::string_view name, std::int32_t role, MessagePort& messages);

/// The name the old file is kept under: the file name cut at its first "."
/// plus ".old", in the same folder. When that name is taken (or is the file's
/// own name), "<cut>.1.old", "<cut>.2.old", ... up to 999; nothing when all
/// are taken.
std::optional<std::filesystem::path> backupPathFor(const std::filesystem::path& file);

/// The upgrade check of object and motion files: a current file is left as it
/// is; a previous-version file is converted (name "Untitled", role -1) and
/// written under its own name after the original was moved to its backup
/// name. Returns true when `file` is now of the current version. A refusal
/// changes nothing; a failed write puts the original back.
bool upgradeObjectFile(const std::filesystem::path& file, MessagePort& messages);

} // namespace kv::model
