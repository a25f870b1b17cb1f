#pragma once
/// The options the file forms of kestrovane-cli convert share: one input
/// file, -o, --units and --axes.

#include "app/settings/units.h"

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kv::cli {

struct ConvertRequest {
    std::filesystem::path input;
    std::filesystem::path output;              ///< empty when not given
    bool rightHanded = false;                  ///< default left-hand, as the factory preferences
    const app::LengthUnitInfo* unit = nullptr; ///< metres unless --units says otherwise
};

/// Parses the words after the form name. Returns an exit code when the
/// command ends here (help shown, or bad usage with `usage` on stderr);
/// `inputMissing` is the complaint when no input file was given.
std::optional<int> parseConvertArgs(const std::vector<std::string>& args, std::string_view form,
                                    const char* usage, const std::string& inputMissing,
                                    ConvertRequest& request);

/// The extension of `file` in lower case, dot included.
std::string lowerExtension(const std::filesystem::path& file);

} // namespace kv::cli
