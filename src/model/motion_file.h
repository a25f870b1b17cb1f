#pragma once
/// Motion files (.kvm): an object's record, its geometry and its frames, so
/// that the file alone recreates the moving object. Written from a live record
/// channel or from a slot's stored motion; read into a slot of the stored
/// motion. Object files are the same layout without frames.

#include "common/ports/messages.h"
#include "model/motion_store.h"
#include "model/motion_stream.h"

#include <cstdio>
#include <filesystem>
#include <span>
#include <string>

namespace kv::model {

/// The slot a motion read fills: its record (replaced whole), its geometry and,
/// through the store, its frames.
struct MotionTarget {
    int slot = 0;                   ///< slot index; 0 is the simulated object
    ObjectRecord* record = nullptr; ///< the slot's record
    GeometryIntake geometry;        ///< the slot's mesh
};

/// Writes a motion file from a live record channel: `owner` is the record of
/// the object that owns the channel, `frames` the frames it recorded. The file
/// is replaced only when the whole of it was written; on failure the previous
/// file stays and a message names the file.
bool saveLiveMotion(const std::filesystem::path& file, const ObjectRecord& owner,
                    const TriangleSource& geometry, std::span<const MotionFrame> frames,
                    MessagePort& messages);

/// Writes a motion file from the stored motion of `slot`: frames 0 ..
/// `lastFrame`, so that reading the file back restores the same motion.
bool saveStoredMotion(const std::filesystem::path& file, const ObjectRecord& record,
                      const TriangleSource& geometry, const MotionStore& store, int slot,
                      MessagePort& messages);

/// Reads one motion body (size word, record, geometry, frames up to and
/// including the end marker) from `in` into `target` and its stored motion.
/// Messages are shown only while `reportErrors` is set, and the first one
/// clears it, so a sequence of reads reports once. A failed read leaves the
/// record and geometry as far as they were read.
bool readMotion(std::FILE* in, const MotionTarget& target, MotionStore& store, bool& reportErrors,
                MessagePort& messages);

/// Opens `file` and reads it with readMotion. A file that cannot be opened
/// reports "A valid file was not selected.".
bool loadMotion(const std::filesystem::path& file, const MotionTarget& target, MotionStore& store,
                bool& reportErrors, MessagePort& messages);

/// Shows `text` when `reportErrors` is set, then clears it.
void reportOnce(bool& reportErrors, MessagePort& messages, const std::string& text);

/// "\"<file name>\" could not be saved."
std::string saveFailedMessage(const std::filesystem::path& file);

inline constexpr const char* kNoValidFileMessage = "A valid file was not selected.";

} // namespace kv::model
