#include "geometry/dxf_reader.h"

#include "common/file_names.h"
#include "geometry/dxf_line_reader.h"
#include "geometry/dxf_number.h"
#include "geometry/dxf_transform.h"

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <cstdio>
#include <memory>
#include <string>

namespace kv::geom {

namespace {

/// Group codes of the twelve corner values, in the order they are read.
constexpr std::string_view kCornerKeys[12] = {"10", "20", "30", "11", "21", "31",
                                              "12", "22", "32", "13", "23", "33"};

struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};

/// A coordinate the callers can store: finite, and finite once narrowed to
/// the single precision of meshes and terrain.
bool isStorable(double v) {
    return std::isfinite(v) && std::fabs(v) <= FLT_MAX;
}

enum class Search { Found, End, Error };

/// The next line: Found, End at the end of the file, Error on a line too
/// long or a failed read.
Search nextLine(DxfLineReader& lines, std::string_view& line) {
    switch (lines.next(line)) {
    case DxfLineReader::Status::Line:
        return Search::Found;
    case DxfLineReader::Status::End:
        return Search::End;
    case DxfLineReader::Status::TooLong:
    case DxfLineReader::Status::Failed:
        break;
    }
    return Search::Error;
}

/// Reads lines until one contains `key`; End at the end of the file.
Search findLineWith(DxfLineReader& lines, std::string_view key, std::string_view& line) {
    for (;;) {
        if (const Search s = nextLine(lines, line); s != Search::Found)
            return s;
        if (line.find(key) != std::string_view::npos)
            return Search::Found;
    }
}

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

/// True when `line` holds the group code `key` as a number of its own: not
/// as part of a longer one ("100", the subclass marker of files written since
/// AutoCAD 2000, is not "10"; "330", an owner handle's code, is not "30").
bool holdsCode(std::string_view line, std::string_view key) {
    for (std::size_t at = line.find(key); at != std::string_view::npos;
         at = line.find(key, at + 1)) {
        const std::size_t end = at + key.size();
        if ((at == 0 || !isDigit(line[at - 1])) && (end == line.size() || !isDigit(line[end])))
            return true;
    }
    return false;
}

/// Reads group-code lines (each followed by its value line, which is passed
/// over) until one holds `key`; End at the end of the file. The line after the
/// entity's name is a group code, so code and value lines alternate from there
/// and a value, such as a handle "10", is never taken for a code.
Search findCode(DxfLineReader& lines, std::string_view key, std::string_view& line) {
    for (;;) {
        if (const Search s = nextLine(lines, line); s != Search::Found)
            return s;
        if (holdsCode(line, key))
            return Search::Found;
        if (const Search s = nextLine(lines, line); s != Search::Found)
            return s;
    }
}

} // namespace

int readDxf(const std::filesystem::path& file, std::uint64_t fileSize,
            const model::GeometryTransform& transform, const DxfFaceCallback& onFace,
            MessagePort& messages) {
    std::unique_ptr<std::FILE, FileCloser> handle(kv::openFile(file, "rb"));
    if (!handle) {
        messages.showMessage("The DXF file could not be opened.");
        return 0;
    }
    const DxfImportMapping mapping = makeDxfImportMapping(transform);
    // Small files need no full-size block; an unknown size (0) gets one.
    constexpr std::uint64_t kSmallestBlock = 4096;
    const std::uint64_t block = fileSize == 0
                                    ? DxfLineReader::kDefaultBlockBytes
                                    : std::clamp<std::uint64_t>(fileSize + 1, kSmallestBlock,
                                                                DxfLineReader::kDefaultBlockBytes);
    DxfLineReader lines(handle.get(), static_cast<std::size_t>(block));

    int result = 0;
    long long faces = 0;
    long long skipped = 0;
    bool readError = false;
    std::string_view line;
    std::array<double, 12> values{};
    std::array<double, 12> corners{};

    for (;;) {
        Search found = findLineWith(lines, "3DFACE", line);
        for (std::size_t k = 0; k < 12 && found == Search::Found; ++k) {
            found = findCode(lines, kCornerKeys[k], line);
            if (found != Search::Found) {
                break;
            }
            found = nextLine(lines, line);
            if (found == Search::Found)
                values[k] = scanDxfValue(line);
        }
        if (found == Search::Error) {
            readError = true;
            break;
        }
        if (found == Search::End) {
            break;
        }

        bool storable = true;
        for (std::size_t c = 0; c < 4; ++c) {
            const std::array<double, 3> p =
                applyDxfImport(mapping, {values[c * 3], values[c * 3 + 1], values[c * 3 + 2]});
            for (std::size_t i = 0; i < 3; ++i) {
                corners[c * 3 + i] = p[i];
                storable = storable && isStorable(p[i]);
            }
        }
        if (!storable) {
            // Not-a-number or infinite corners would poison meshes and the
            // terrain grid: the face is corrupt input and is left out.
            ++skipped;
            continue;
        }
        ++faces;
        const float progress =
            fileSize == 0 ? 0.0f
                          : static_cast<float>(static_cast<double>(lines.charactersRead()) /
                                               static_cast<double>(fileSize));
        result = onFace(corners, progress);
        if (result == 0) {
            break;
        }
    }

    if (skipped > 0) {
        messages.showMessage(std::to_string(skipped) +
                             " polygons with invalid coordinates were skipped.");
    }
    if (readError) {
        messages.showMessage("An error occurred while reading the DXF file.");
        return 0;
    }
    if (faces == 0) {
        messages.showMessage("There are no polygons contained in the DXF file.");
        return 0;
    }
    return result;
}

} // namespace kv::geom
