#include "app/follow/path_file.h"

#include "app/follow/path_csv.h"
#include "common/file_names.h"
#include "common/unit_constants.h"
#include "geometry/dxf_polyline.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cstdio>
#include <memory>
#include <vector>

namespace kv::app {

namespace {

std::string lowerExtension(const std::filesystem::path& file) {
    std::string ext = utf8Name(file.extension());
    std::transform(ext.begin(), ext.end(), ext.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return ext;
}

bool readText(const std::filesystem::path& file, std::string& text, std::string& error) {
    struct Closer {
        void operator()(std::FILE* f) const { std::fclose(f); }
    };
    std::unique_ptr<std::FILE, Closer> in(kv::openFile(file, "rb"));
    if (!in) {
        error = "cannot open the path " + utf8Name(file);
        return false;
    }
    std::array<char, 65536> buffer{};
    while (true) {
        const std::size_t n = std::fread(buffer.data(), 1, buffer.size(), in.get());
        text.append(buffer.data(), n);
        if (text.size() > kMaxPathCsvBytes) {
            error = utf8Name(file) + ": the path is longer than " +
                    std::to_string(kMaxPathCsvBytes / (1024u * 1024u)) + " MB";
            return false;
        }
        if (n < buffer.size())
            break;
    }
    if (std::ferror(in.get())) {
        error = "cannot read the path " + utf8Name(file);
        return false;
    }
    return true;
}

} // namespace

bool loadFollowPath(const std::filesystem::path& file, float lengthUnitFactor,
                    const model::GeometryTransform& transform, FollowPath& path,
                    std::string& error) {
    path = FollowPath{};
    const std::string ext = lowerExtension(file);
    if (ext == ".csv") {
        std::string text;
        if (!readText(file, text, error))
            return false;
        if (!parsePathCsv(text, lengthUnitFactor, path, error)) {
            error = utf8Name(file) + ": " + error;
            return false;
        }
        return true;
    }
    if (ext != ".dxf") {
        error = utf8Name(file) + ": a path is read from a .csv or a .dxf file";
        return false;
    }
    std::vector<std::array<double, 3>> points;
    if (!geom::readDxfPolyline(file, transform, points, error)) {
        error = utf8Name(file) + ": " + error;
        return false;
    }
    if (points.size() < kMinPathPoints) {
        error = utf8Name(file) + ": a path needs at least two points, the polyline has " +
                std::to_string(points.size());
        return false;
    }
    for (const auto& p : points) {
        PathPoint q;
        q.north = p[0] * kFeetPerMetreD;
        q.east = p[1] * kFeetPerMetreD;
        q.up = -p[2] * kFeetPerMetreD;
        path.hasHeights = path.hasHeights || q.up != 0.0;
        path.points.push_back(q);
    }
    return true;
}

} // namespace kv::app
