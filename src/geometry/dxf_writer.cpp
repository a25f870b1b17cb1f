#include "geometry/dxf_writer.h"

#include "common/file_names.h"
#include "common/unit_constants.h"
#include "common/vecmath.h"

#include <string_view>

namespace kv::geom {

namespace {

struct DxfUnitName {
    float feetPerUnit;
    std::string_view name;
};

/// Header unit names by feet per working unit, in the order they are matched.
constexpr DxfUnitName kUnitNames[] = {
    {kFeetPerMillimetre, "Millimeters"},
    {kFeetPerCentimetre, "Centimeters"},
    {kFeetPerMetre, "Meters"},
    {kFeetPerInch, "Inches"},
    {kFeetPerFoot, "Feet"},
    {kFeetPerYard, "Yards"},
};

/// Named in the header when the factor matches none of the six units.
constexpr std::string_view kUnknownUnitName = "Units";

std::string_view unitName(double feetPerUnit) {
    for (const DxfUnitName& unit : kUnitNames) {
        if (CompareTol(static_cast<float>(feetPerUnit), unit.feetPerUnit) == 0) {
            return unit.name;
        }
    }
    return kUnknownUnitName;
}

bool put(std::FILE* file, const char* text) {
    return std::fputs(text, file) >= 0;
}

bool putValue(std::FILE* file, const char* key, double value) {
    return std::fputs(key, file) >= 0 && std::fprintf(file, "%g\n", value) >= 0;
}

} // namespace

bool writeDxfHeader(std::FILE* file, const DxfOutputUnits& units) {
    useTextLineEnds(file);
    const std::string_view name = unitName(units.feetPerUnit);
    const std::string_view system = dxfAxesName(units.axes);
    return put(file, "999\nDXF file created by Kestrovane\n") &&
           std::fprintf(file, "999\n%.*s Coordinate System in %.*s\n",
                        static_cast<int>(system.size()), system.data(),
                        static_cast<int>(name.size()), name.data()) >= 0 &&
           put(file, "   0\nSECTION\n") && put(file, "   2\nENTITIES\n");
}

bool writeDxfFace(std::FILE* file, const std::array<double, 12>& corners,
                  const DxfOutputUnits& units) {
    static constexpr const char* kKeys[4][3] = {{" 10\n", " 20\n", " 30\n"},
                                                {" 11\n", " 21\n", " 31\n"},
                                                {" 12\n", " 22\n", " 32\n"},
                                                {" 13\n", " 23\n", " 33\n"}};
    const double perMetre = 1.0 / (units.feetPerUnit * kMetresPerFootD);
    bool ok = put(file, "  0\n3DFACE\n   8\nKestrovane\n");
    for (int c = 0; c < 4 && ok; ++c) {
        const std::array<double, 3> out =
            systemToFile(units.axes, {corners[c * 3], corners[c * 3 + 1], corners[c * 3 + 2]});
        for (int i = 0; i < 3 && ok; ++i) {
            ok = putValue(file, kKeys[c][i], out[i] * perMetre);
        }
    }
    return ok;
}

bool writeDxfTrailer(std::FILE* file) {
    return put(file, "   0\nENDSEC\n  0\nEOF\n");
}

} // namespace kv::geom
