#pragma once
/// Folders private to this user: created fresh under a unique name, checked
/// for ownership before anything in them is removed, measured.

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>

namespace kv {

/// Creates a folder only this user may enter (mode 0700) at `prefix`
/// followed by six characters the system picks so that no other folder has
/// the name. Nothing when it cannot be made.
std::optional<std::filesystem::path> makeUniqueFolder(const std::string& prefix);

/// True when `path` is a real folder (not a link to one) owned by this user.
bool isOwnFolder(const std::filesystem::path& path);

/// Bytes of the regular files under `folder`, links not followed.
std::uintmax_t folderBytes(const std::filesystem::path& folder);

} // namespace kv
