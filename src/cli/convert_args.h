#pragma once
/// The options the file forms of kestrovane-cli convert share: one input
/// file, -o, --units and --axes.

#include "app/settings/units.h"
#include "geometry/dxf_axes.h"

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kv::cli {

struct ConvertRequest {
    std::filesystem::path input;
    std::filesystem::path output;              ///< empty when not given
    /// Default left hand, as the factory preferences; z up only where the
    /// form takes it (DXF).
    geom::DxfAxes axes = geom::DxfAxes::LeftHand;
    const app::LengthUnitInfo* unit = nullptr; ///< metres unless --units says otherwise
};

/// Parses the words after the form name. Returns an exit code when the
/// command ends here (help shown, or bad usage with `usage` on stderr);
/// `inputMissing` is the complaint when no input file was given; `zUp` says
/// whether --axes takes zup besides right and left.
std::optional<int> parseConvertArgs(const std::vector<std::string>& args, std::string_view form,
                                    const char* usage, const std::string& inputMissing,
                                    ConvertRequest& request, bool zUp = false);

/// The extension of `file` in lower case, dot included.
std::string lowerExtension(const std::filesystem::path& file);

} // namespace kv::cli
