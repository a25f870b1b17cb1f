#include "app/commands/object_library.h"

#include "app/commands/commands.h"
#include "common/file_names.h"

#include <algorithm>
#include <cctype>
#include <system_error>

namespace kv::app {

namespace {

std::string lowered(std::string_view text) {
    std::string out(text);
    for (char& c : out)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return out;
}

} // namespace

std::vector<ObjectLibraryEntry> listObjectLibrary(const std::filesystem::path& dataFolder) {
    namespace fs = std::filesystem;
    std::vector<ObjectLibraryEntry> entries;
    std::error_code ec;
    fs::directory_iterator it(dataFolder / kObjectLibraryFolder, ec);
    if (ec)
        return entries;
    std::vector<fs::path> files;
    for (const fs::directory_iterator end; it != end; it.increment(ec)) {
        if (ec)
            break;
        const fs::path& p = it->path();
        const std::string name = utf8Name(p.filename());
        if (name.size() < 4 || lowered(name.substr(name.size() - 4)) != ".kvo")
            continue;
        if (!it->is_regular_file(ec))
            continue;
        files.push_back(p);
    }
    std::sort(files.begin(), files.end(),
              [](const fs::path& a, const fs::path& b) { return a.filename() < b.filename(); });
    for (const fs::path& p : files) {
        if (entries.size() >= static_cast<std::size_t>(kObjectLibraryMaxEntries))
            break;
        const std::string name = utf8Name(p.filename());
        std::string text = name.substr(0, name.find('.'));
        // A name that starts with "." would give an empty menu item.
        if (text.empty())
            text = name;
        entries.push_back({std::move(text), p});
    }
    return entries;
}

} // namespace kv::app
