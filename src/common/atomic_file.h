#pragma once
/// Safe replacement of a file: the new content goes to a temporary file beside
/// the target and is renamed over it only after every byte has reached the
/// disk. A save that fails half way (disk full, no permission, a write error)
/// leaves the previous file exactly as it was and removes the temporary file.

#include <cstdio>
#include <filesystem>
#include <functional>

namespace kv {

/// Writes `target` through `writeBody`, which gets a binary stream open on the
/// temporary file and returns false when it could not write everything.
/// Returns true only when the body succeeded, the stream was flushed and
/// synced without error and the rename took place. A new file gets the usual
/// mode (0666 less the process umask); a replaced file keeps its mode.
bool writeFileAtomically(const std::filesystem::path& target,
                         const std::function<bool(std::FILE*)>& writeBody);

/// Flushes `out` and reports whether every write to it so far succeeded.
bool streamWritten(std::FILE* out);

} // namespace kv
