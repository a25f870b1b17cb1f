#pragma once
/// Object files (.kvo): one customised vehicle, its record and its geometry,
/// laid out as a motion file with no frames. Opening keeps the simulated
/// object's initial conditions; files of the previous version are upgraded
/// first (object_file_convert.h).

#include "common/ports/messages.h"
#include "model/motion_file.h"
#include "model/motion_stream.h"

#include <cstdio>
#include <filesystem>

namespace kv::model {

/// Result of the version test, in the numbering the opening operations use.
enum FileVersion : int {
    kVersionRefused = 0,  ///< unusable; the test has shown its message
    kVersionCurrent = 1,  ///< record size 11940
    kVersionPrevious = 2, ///< record size 12076: convert before reading
};

/// Reads the first word of `in` and returns to where it was. Any size other
/// than the current or the previous one, or a file too short to hold it, shows
/// "The file is more than one version old and cannot be converted to the
/// current version." and is refused.
FileVersion checkFileVersion(std::FILE* in, MessagePort& messages);
/// The same for a file by name; one that cannot be opened shows "A valid file
/// was not selected." and is refused.
FileVersion checkFileVersion(const std::filesystem::path& file, MessagePort& messages);

/// Writes an object file: the size word, `record`, the geometry and the end
/// marker frame. The previous file is replaced only by a complete new one.
bool saveObjectFile(const std::filesystem::path& file, const ObjectRecord& record,
                    const TriangleSource& geometry, MessagePort& messages);

/// Reads an object body from `in` into `target` (steps after the version
/// test): size word, record, geometry, the end marker frame. With
/// `keepInitialConditions` the target's `initial` survives the read. Leaves
/// `role` and `name` as read; loadObjectFile sets them.
bool readObjectFile(std::FILE* in, const MotionTarget& target, bool keepInitialConditions,
                    MessagePort& messages);

/// Opens an object file into `target` (slot 0): upgrades a previous-version
/// file in place, reads it, then sets `role` to 0 and `name` to the file's
/// base name.
bool loadObjectFile(const std::filesystem::path& file, const MotionTarget& target,
                    bool keepInitialConditions, MessagePort& messages);

inline constexpr const char* kMoreThanOneVersionOldMessage =
    "The file is more than one version old and cannot be converted to the current version.";
inline constexpr const char* kObjectOldVersionMessage =
    "The object file cannot be read because it was created by an old version of Kestrovane.";

} // namespace kv::model
