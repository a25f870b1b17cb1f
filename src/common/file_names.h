#pragma once
/// File names as the program holds them (UTF-8 text) and as the system takes
/// them: the same bytes on Linux, UTF-16 on Windows, where the narrow C calls
/// would read the text in the ANSI code page and lose every character outside
/// it ("Straße" on a Japanese system, any CJK name on a Western one).

#include <cstdio>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace kv {

/// The path named by UTF-8 `name`.
std::filesystem::path pathFromUtf8(std::string_view name);

/// `path` as UTF-8 text, for messages and for libraries that take narrow names.
std::string utf8Name(const std::filesystem::path& path);

/// std::fopen for `path` with the C `mode` ("rb", "wb+"), whatever characters
/// the name holds. Null when it cannot be opened.
std::FILE* openFile(const std::filesystem::path& path, const char* mode);

/// From now on each '\n' written to `out` reaches the file as the system's
/// text line end: CR LF on Windows, where DXF and LightWave readers expect
/// it, LF elsewhere (where this does nothing). Call before the first write.
void useTextLineEnds(std::FILE* out);

/// The program's arguments after its own name as UTF-8: on Windows read again
/// from the wide command line, since `argv` holds them in the ANSI code page.
std::vector<std::string> utf8Arguments(int argc, char** argv);

} // namespace kv
