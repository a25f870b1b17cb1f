#pragma once
// File names from the host are UTF-8 text. On Windows the narrow C and
// std::filesystem calls would read them in the ANSI code page, so names like
// "Straße.kvm" on a Japanese system or any CJK name elsewhere would not open:
// there the names are widened to UTF-16 for the wide calls. (The plug-ins
// are built on their own, without the core's library, hence this header.)

#include <cstdio>
#include <filesystem>
#include <string>

#ifdef _WIN32
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
#endif

namespace kv::plugin {

/// The path named by UTF-8 `name`.
inline std::filesystem::path utf8Path(const std::string& name) {
#ifdef _WIN32
    if (name.empty())
        return {};
    const int size = static_cast<int>(name.size());
    const int wide = ::MultiByteToWideChar(CP_UTF8, 0, name.data(), size, nullptr, 0);
    if (wide <= 0)
        return {};
    std::wstring out(static_cast<std::size_t>(wide), L'\0');
    ::MultiByteToWideChar(CP_UTF8, 0, name.data(), size, out.data(), wide);
    return std::filesystem::path(out);
#else
    return std::filesystem::path(name);
#endif
}

/// std::fopen for the UTF-8 name `name` with the C `mode`.
inline std::FILE* openUtf8(const std::string& name, const char* mode) {
#ifdef _WIN32
    const std::wstring wideMode(mode, mode + std::char_traits<char>::length(mode));
    return ::_wfopen(utf8Path(name).c_str(), wideMode.c_str());
#else
    return std::fopen(name.c_str(), mode);
#endif
}

} // namespace kv::plugin
