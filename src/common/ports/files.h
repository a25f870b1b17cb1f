#pragma once
/// Port: asks the user for a path to open or save.

#include <optional>
#include <string>
#include <string_view>

namespace kv {

struct FileRequest {
    std::string title;       ///< dialog title, e.g. "Save Sim Motion As:"
    std::string filter;      ///< filter text, e.g. "Kestrovane Motion Files (*.kvm)"
    std::string extension;   ///< forced extension without dot, e.g. "kvm"
    std::string defaultName; ///< proposed file name
    bool save = false;       ///< true for a save dialog (asks before overwriting)
};

class FilePort {
  public:
    virtual ~FilePort() = default;
    /// The chosen path, or nothing when the user cancelled.
    virtual std::optional<std::string> choose(const FileRequest& request) = 0;
};

} // namespace kv
