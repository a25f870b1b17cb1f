#include "geometry/dxf_polyline.h"

#include "common/file_names.h"
#include "geometry/dxf_line_reader.h"
#include "geometry/dxf_number.h"
#include "geometry/dxf_transform.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <memory>

namespace kv::geom {

namespace {

struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};

std::string_view trim(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t'))
        s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t'))
        s.remove_suffix(1);
    return s;
}

/// Where the reader is among the entities.
enum class Within {
    Other,      ///< any other entity or section content
    LwPolyline, ///< an LWPOLYLINE's own groups
    Polyline,   ///< a POLYLINE's header groups, before its first VERTEX
    Vertex,     ///< a VERTEX of the POLYLINE being read
};

/// Most vertices read from one polyline.
constexpr std::size_t kMaxVertices = 1'000'000;

} // namespace

bool readDxfPolyline(const std::filesystem::path& file, const model::GeometryTransform& transform,
                     std::vector<std::array<double, 3>>& points, std::string& error) {
    points.clear();
    std::unique_ptr<std::FILE, FileCloser> handle(kv::openFile(file, "rb"));
    if (!handle) {
        error = "The DXF file could not be opened.";
        return false;
    }
    DxfLineReader lines(handle.get());
    std::vector<std::array<double, 3>> raw;
    double elevation = 0.0;
    bool closed = false;
    bool done = false;
    Within within = Within::Other;
    std::size_t lineNumber = 0;

    const auto finishEntity = [&] {
        // An LWPOLYLINE with vertices ends the search at its end.
        if (within == Within::LwPolyline && !raw.empty()) {
            for (auto& p : raw)
                p[2] = elevation;
            done = true;
        }
    };

    while (!done) {
        std::string_view codeLine;
        const auto status = lines.next(codeLine);
        ++lineNumber;
        if (status == DxfLineReader::Status::End)
            break;
        if (status != DxfLineReader::Status::Line) {
            error = "line " + std::to_string(lineNumber) +
                    (status == DxfLineReader::Status::TooLong ? ": longer than 255 characters"
                                                              : ": the file could not be read");
            return false;
        }
        codeLine = trim(codeLine);
        int code = 0;
        const auto r = std::from_chars(codeLine.data(), codeLine.data() + codeLine.size(), code);
        if (codeLine.empty() || r.ec != std::errc() || r.ptr != codeLine.data() + codeLine.size()) {
            error = "line " + std::to_string(lineNumber) + ": expected a group code, not '" +
                    std::string(codeLine.substr(0, 24)) + "'";
            return false;
        }
        std::string_view value;
        const auto valueStatus = lines.next(value);
        ++lineNumber;
        if (valueStatus != DxfLineReader::Status::Line) {
            error =
                "line " + std::to_string(lineNumber) +
                (valueStatus == DxfLineReader::Status::TooLong ? ": longer than 255 characters"
                                                               : ": the file ends inside a group");
            return false;
        }
        value = trim(value);
        if (code == 0) {
            finishEntity();
            if (done)
                break;
            if (value == "LWPOLYLINE") {
                within = Within::LwPolyline;
                raw.clear();
                elevation = 0.0;
                closed = false;
            } else if (value == "POLYLINE") {
                within = Within::Polyline;
                raw.clear();
                closed = false;
            } else if (value == "VERTEX" &&
                       (within == Within::Polyline || within == Within::Vertex)) {
                within = Within::Vertex;
                raw.push_back({0.0, 0.0, 0.0});
            } else if (value == "SEQEND" &&
                       (within == Within::Polyline || within == Within::Vertex)) {
                if (!raw.empty()) {
                    done = true;
                    break;
                }
                within = Within::Other;
            } else {
                within = Within::Other;
            }
            continue;
        }
        if (within == Within::Other)
            continue;
        if (code == 70 && within != Within::Vertex) {
            // Flags beyond the 16-bit field (or not numbers at all) mean nothing here.
            const double flags = scanDxfValue(value);
            closed = flags >= 0.0 && flags < 65536.0 && (static_cast<long>(flags) & 1) != 0;
        } else if (code == 38 && within == Within::LwPolyline) {
            elevation = scanDxfValue(value);
        } else if (code == 10 && within == Within::LwPolyline) {
            if (raw.size() >= kMaxVertices) {
                error = "line " + std::to_string(lineNumber) + ": too many vertices";
                return false;
            }
            raw.push_back({scanDxfValue(value), 0.0, 0.0});
        } else if (code == 20 && within == Within::LwPolyline && !raw.empty()) {
            raw.back()[1] = scanDxfValue(value);
        } else if (within == Within::Vertex && (code == 10 || code == 20 || code == 30)) {
            if (raw.size() > kMaxVertices) {
                error = "line " + std::to_string(lineNumber) + ": too many vertices";
                return false;
            }
            raw.back()[static_cast<std::size_t>(code / 10 - 1)] = scanDxfValue(value);
        }
    }
    if (!done) {
        finishEntity();
        // A POLYLINE cut off before its SEQEND still yields its vertices.
        done = done || (within == Within::Vertex && !raw.empty());
    }
    if (!done || raw.empty()) {
        error = "There is no LWPOLYLINE or POLYLINE in the DXF file.";
        return false;
    }
    if (closed && raw.size() > 1)
        raw.push_back(raw.front());
    const DxfImportMapping mapping = makeDxfImportMapping(transform);
    points.reserve(raw.size());
    for (std::size_t i = 0; i < raw.size(); ++i) {
        const auto p = applyDxfImport(mapping, raw[i]);
        if (!std::isfinite(p[0]) || !std::isfinite(p[1]) || !std::isfinite(p[2])) {
            error = "vertex " + std::to_string(i + 1) + " of the polyline is not a finite point";
            points.clear();
            return false;
        }
        points.push_back(p);
    }
    return true;
}

} // namespace kv::geom
