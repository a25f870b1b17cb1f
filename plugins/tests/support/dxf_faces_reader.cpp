#include "support/dxf_faces_reader.h"

#include <cstdlib>

namespace kv::plugtest {

DxfRead readDxfFaces(const std::string& text) {
    DxfRead out;
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        const auto end = text.find('\n', start);
        if (end == std::string::npos) {
            out.error = "text does not end with a line end";
            return out;
        }
        lines.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    const std::vector<std::string> header = {"999",  "DXF file created by Kestrovane",
                                             "999",  "Right Hand Coordinate System in meters",
                                             "   0", "SECTION",
                                             "   2", "ENTITIES"};
    const std::vector<std::string> trailer = {"   0", "ENDSEC", "  0", "EOF"};
    if (lines.size() < header.size() + trailer.size()) {
        out.error = "too short";
        return out;
    }
    for (std::size_t i = 0; i < header.size(); ++i) {
        if (lines[i] != header[i]) {
            out.error = "header line " + std::to_string(i) + " is '" + lines[i] + "'";
            return out;
        }
    }
    const std::size_t body = lines.size() - trailer.size();
    for (std::size_t i = 0; i < trailer.size(); ++i) {
        if (lines[body + i] != trailer[i]) {
            out.error = "trailer line " + std::to_string(i) + " is '" + lines[body + i] + "'";
            return out;
        }
    }
    static const char* const kCodes[12] = {" 10", " 20", " 30", " 11", " 21", " 31",
                                           " 12", " 22", " 32", " 13", " 23", " 33"};
    std::size_t i = header.size();
    while (i < body) {
        if (i + 4 + 24 > body || lines[i] != "  0" || lines[i + 1] != "3DFACE" ||
            lines[i + 2] != "   8" || lines[i + 3] != "Kestrovane") {
            out.error = "entity at line " + std::to_string(i) + " is not a 3DFACE on Kestrovane";
            return out;
        }
        i += 4;
        DxfFace face{};
        for (std::size_t k = 0; k < 12; ++k, i += 2) {
            char* end = nullptr;
            face[k] = std::strtod(lines[i + 1].c_str(), &end);
            if (lines[i] != kCodes[k] || lines[i + 1].empty() || *end != '\0') {
                out.error = "group at line " + std::to_string(i) + " is '" + lines[i] + "' '" +
                            lines[i + 1] + "'";
                return out;
            }
        }
        out.faces.push_back(face);
    }
    return out;
}

} // namespace kv::plugtest
