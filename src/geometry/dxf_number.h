#pragma once
/// Scanning a DXF value line exactly as the C library's "%lf" conversion does.

#include <string_view>

namespace kv::geom {

/// The double "%lf" reads from the start of `line` (leading white space
/// skipped, the longest valid prefix taken, hexadecimal, "inf" and "nan"
/// forms included), or 0 when the line does not scan. `line` must not contain
/// a NUL character and holds at most 255 characters.
double scanDxfValue(std::string_view line);

} // namespace kv::geom
