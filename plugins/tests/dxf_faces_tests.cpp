// The saver's face text, independent of any host.

#include "save/dxf_faces.h"

#include <clocale>
#include <gtest/gtest.h>

namespace kv::lwsave {
namespace {

TEST(DxfFaceText, ValuesArePrintedAsPercentG) {
    const Face face = {Point{0.5, -2.0, 1e-5}, Point{123456789.0, 0.1, -0.0},
                       Point{1.0 / 3.0, 1e20, 7.0}, Point{0, 0, 0}};
    EXPECT_EQ(dxfFace(face), "  0\n3DFACE\n   8\nKestrovane\n"
                             " 10\n1e-05\n 20\n0.5\n 30\n2\n"
                             " 11\n-0\n 21\n1.23457e+08\n 31\n-0.1\n"
                             " 12\n7\n 22\n0.333333\n 32\n-1e+20\n"
                             " 13\n0\n 23\n0\n 33\n-0\n");
}

TEST(DxfFaceText, DoesNotDependOnTheHostLocale) {
    const Face face = {Point{0.5, 0.25, 1.5}, Point{}, Point{}, Point{}};
    const std::string before = dxfFace(face);
    bool commaLocale = false;
    for (const char* name : {"de_DE.UTF-8", "de_DE.utf8", "fr_FR.UTF-8", "fr_FR.utf8", "de_DE"}) {
        if (std::setlocale(LC_NUMERIC, name)) {
            commaLocale = true;
            break;
        }
    }
    if (!commaLocale)
        GTEST_SKIP() << "no locale with a decimal comma on this machine";
    const std::string after = dxfFace(face);
    std::setlocale(LC_NUMERIC, "C");
    EXPECT_EQ(after, before);
}

TEST(PolygonFanSource, EmitsNothingUntilFinishedForATriangle) {
    std::vector<Face> faces;
    PolygonFan fan([&](const Face& f) { faces.push_back(f); });
    fan.addPoint({1, 0, 0});
    fan.addPoint({2, 0, 0});
    fan.addPoint({3, 0, 0});
    EXPECT_TRUE(faces.empty());
    fan.finish();
    ASSERT_EQ(faces.size(), 1u);
    EXPECT_EQ(faces[0][3], (Point{3, 0, 0}));
}

} // namespace
} // namespace kv::lwsave
