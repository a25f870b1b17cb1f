#pragma once
/// Port: the folder holding the scenery and terrain working files of this
/// running program. Each running program has its own, so two never share files.

#include <filesystem>

namespace kv {

class WorkingFolderPort {
  public:
    virtual ~WorkingFolderPort() = default;
    virtual std::filesystem::path folder() const = 0;
};

} // namespace kv
