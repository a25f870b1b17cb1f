#pragma once
/// How a file named on the command line or dropped on the main window is
/// opened, the object library offered in the Object menu, and the texts of the
/// save prompt.

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace kv::app {

/// The three kinds of file the program opens by name.
enum class DocumentType {
    None,    ///< not a Kestrovane file
    Project, ///< ".kvp": opened as Open Project
    Motion,  ///< ".kvm": added as a dynamic object
    Object,  ///< ".kvo": loaded as Open Object
};

/// The type of `path` by the extension after the first "." of its file name,
/// compared without regard to case. The folders of the path play no part.
DocumentType documentTypeForPath(std::string_view path);

/// "\"<path>\" is not a valid Kestrovane file."
std::string notValidFileMessage(std::string_view path);

/// "Would you like to save changes to \"<name>\" first?"
std::string saveChangesFirstMessage(std::string_view projectName);

/// The save prompt text of the Memory command.
std::string memorySaveFirstMessage(std::string_view projectName);

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
