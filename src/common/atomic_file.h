#pragma once
/// Safe replacement of a file: the new content goes to a temporary file beside
/// the target and is renamed over it only after every byte has reached the
/// disk. A save that fails half way (disk full, no permission, a write error)
/// leaves the previous file exactly as it was and removes the temporary file.

#include <cstddef>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <limits>
#include <vector>

namespace kv {

/// Writes `target` through `writeBody`, which gets a binary stream open on the
/// temporary file and returns false when it could not write everything.
/// Returns true only when the body succeeded, the stream was flushed and
/// synced without error and the rename took place. A new file gets the usual
/// mode (0666 less the process umask); a replaced file keeps its mode.
bool writeFileAtomically(const std::filesystem::path& target,
                         const std::function<bool(std::FILE*)>& writeBody);

/// One file of a set replaced together.
struct AtomicFileWrite {
    std::filesystem::path target;
    std::function<bool(std::FILE*)> writeBody;
};

/// Replaces several files that belong together (a skeleton and its motion):
/// every one is written to its temporary file first, and the renames start
/// only when all of them succeeded, so a failed write leaves every previous
/// file as it was.
bool writeFilesAtomically(const std::vector<AtomicFileWrite>& files);

/// Flushes `out` and reports whether every write to it so far succeeded.
bool streamWritten(std::FILE* out);

/// Opens `file` for writing from its start, as a working file that is
/// replaced by rename is. Goes through the failing layer when faults are
/// installed, so those writes count against its byte limit too.
std::FILE* openForWriting(const std::filesystem::path& file);

/// The steps of one replacement, in the order they happen.
enum class AtomicWriteStep { CreateTemporary, WriteBody, Sync, Rename };

/// A failing file layer under writeFileAtomically, for tests of every saver:
/// a disk that fills after a given number of bytes, and a hook before each
/// step that may throw to stop the save there as a crash or power cut would
/// (the temporary file is then left behind, as it would be).
struct AtomicWriteFaults {
    /// Bytes that reach temporary files, counted over every replacement while
    /// installed, before each further write fails as on a full disk.
    std::size_t byteLimit = std::numeric_limits<std::size_t>::max();
    /// Bytes that reached temporary files so far.
    std::size_t bytesWritten = 0;
    /// Called before each step of each replacement; may throw.
    std::function<void(AtomicWriteStep)> beforeStep;
};

/// Installs `faults` (null removes them) for every following replacement in
/// the process. Not for use while another thread saves. With faults
/// installed the temporary file is not synced: the layer stands in for the disk.
void setAtomicWriteFaults(AtomicWriteFaults* faults);

} // namespace kv
