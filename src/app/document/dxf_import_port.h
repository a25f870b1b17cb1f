#pragma once
/// Port: the open dialog of DXF imports. Besides the file it lets the user set
/// the import transform and, for everything but the terrain, the colour and
/// transparency. The desktop shows a file dialog with "Transform..." and
/// "Color..." buttons; without this port the document asks the file port and
/// keeps the starting values.

#include "common/ports/files.h"
#include "model/object_record.h"

#include <cstdint>
#include <filesystem>
#include <optional>

namespace kv::app {

/// What the DXF open dialog hands back besides the path.
struct DxfImport {
    std::filesystem::path file;
    model::GeometryTransform transform{};
    std::int32_t color = model::kColorWhite;
    std::int32_t transparency = model::kSolid;
};

class DxfImportPort {
  public:
    virtual ~DxfImportPort() = default;
    /// The chosen file with the values the dialog ended with, starting from
    /// `start` (its file is ignored); nothing when the user cancelled. With
    /// `colorEnabled` false the colour pair is not offered and comes back as
    /// it started.
    virtual std::optional<DxfImport> chooseDxf(const FileRequest& request, const DxfImport& start,
                                               bool colorEnabled) = 0;
};

} // namespace kv::app
