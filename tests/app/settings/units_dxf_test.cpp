#include "app/settings/units_dxf.h"

#include <cstdio>
#include <gtest/gtest.h>
#include <memory>
#include <string>

namespace kv::app {
namespace {

/// The DXF header written for `units`.
std::string header(const WorkingUnits& units) {
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::tmpfile(), &std::fclose);
    EXPECT_TRUE(geom::writeDxfHeader(file.get(), dxfOutputUnits(units)));
    std::rewind(file.get());
    std::string text(512, '\0');
    text.resize(std::fread(text.data(), 1, text.size(), file.get()));
    return text;
}

TEST(UnitsDxf, HeaderNamesEveryWorkingUnitAndHand) {
    for (const LengthUnitInfo& unit : kLengthUnits) {
        std::string right = "Right Hand Coordinate System in ";
        right.append(unit.dxfName).append("\n");
        std::string left = "Left Hand Coordinate System in ";
        left.append(unit.dxfName).append("\n");
        EXPECT_NE(header({unit.feetPerUnit, 0, 1}).find(right), std::string::npos) << right;
        EXPECT_NE(header({unit.feetPerUnit, 1, 0}).find(left), std::string::npos) << left;
    }
}

} // namespace
} // namespace kv::app
