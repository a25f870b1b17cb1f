#include "common/file_names.h"

#ifdef _WIN32
// windows.h first: shellapi.h needs its types.
// clang-format off
#include <windows.h>
#include <shellapi.h>
// clang-format on

#include <fcntl.h>
#include <io.h>
#endif

namespace kv {

namespace fs = std::filesystem;

#ifdef _WIN32
namespace {

std::wstring widen(std::string_view text) {
    if (text.empty())
        return {};
    const int size = static_cast<int>(text.size());
    const int wide = ::MultiByteToWideChar(CP_UTF8, 0, text.data(), size, nullptr, 0);
    if (wide <= 0)
        return {};
    std::wstring out(static_cast<std::size_t>(wide), L'\0');
    ::MultiByteToWideChar(CP_UTF8, 0, text.data(), size, out.data(), wide);
    return out;
}

std::string narrow(std::wstring_view text) {
    if (text.empty())
        return {};
    const int size = static_cast<int>(text.size());
    const int bytes =
        ::WideCharToMultiByte(CP_UTF8, 0, text.data(), size, nullptr, 0, nullptr, nullptr);
    if (bytes <= 0)
        return {};
    std::string out(static_cast<std::size_t>(bytes), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, text.data(), size, out.data(), bytes, nullptr, nullptr);
    return out;
}

} // namespace

fs::path pathFromUtf8(std::string_view name) {
    return fs::path(widen(name));
}

std::string utf8Name(const fs::path& path) {
    return narrow(path.native());
}

std::FILE* openFile(const fs::path& path, const char* mode) {
    return ::_wfopen(path.c_str(), widen(mode).c_str());
}

void useTextLineEnds(std::FILE* out) {
    std::fflush(out);
    ::_setmode(::_fileno(out), _O_TEXT);
}

std::vector<std::string> utf8Arguments(int argc, char** argv) {
    int count = 0;
    LPWSTR* wide = ::CommandLineToArgvW(::GetCommandLineW(), &count);
    std::vector<std::string> args;
    if (wide == nullptr || count != argc) {
        // Not the command line this program was started with: keep argv.
        if (wide != nullptr)
            ::LocalFree(wide);
        for (int i = 1; i < argc; ++i)
            args.emplace_back(argv[i]);
        return args;
    }
    for (int i = 1; i < count; ++i)
        args.push_back(narrow(wide[i]));
    ::LocalFree(wide);
    return args;
}
#else
fs::path pathFromUtf8(std::string_view name) {
    return fs::path(name);
}

std::string utf8Name(const fs::path& path) {
    return path.native();
}

std::FILE* openFile(const fs::path& path, const char* mode) {
    return std::fopen(path.c_str(), mode);
}

void useTextLineEnds(std::FILE*) {}

std::vector<std::string> utf8Arguments(int argc, char** argv) {
    return std::vector<std::string>(argv + (argc > 0 ? 1 : 0), argv + argc);
}
#endif

} // namespace kv
