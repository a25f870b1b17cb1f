#pragma once
/// The object library offered in the Object menu: the object files of the
/// data folder's "Objects" folder.

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace kv::app {

/// One entry of the object library.
struct ObjectLibraryEntry {
    /// Menu text: the file name up to its first ".".
    std::string menuText;
    /// Full path of the object file.
    std::filesystem::path path;
};

/// Name of the library folder inside the data folder.
inline constexpr std::string_view kObjectLibraryFolder = "Objects";

/// The object files ("*.kvo", any case) in `dataFolder`/Objects, sorted by file
/// name so the menu is the same on every start, at most kObjectLibraryMaxEntries.
/// A missing or unreadable folder gives an empty library.
std::vector<ObjectLibraryEntry> listObjectLibrary(const std::filesystem::path& dataFolder);

} // namespace kv::app
