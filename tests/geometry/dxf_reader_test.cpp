#include "dxf_test_support.h"
#include "geometry/dxf_reader.h"

#include <cmath>
#include <gtest/gtest.h>
#include <string>

namespace kv::geom::test {
namespace {

constexpr const char* kNoPolygons = "There are no polygons contained in the DXF file.";
constexpr const char* kReadError = "An error occurred while reading the DXF file.";

std::string replaceAll(std::string text, std::string_view from, std::string_view to) {
    std::string out;
    std::size_t start = 0;
    for (std::size_t at; (at = text.find(from, start)) != std::string::npos;) {
        out.append(text, start, at - start).append(to);
        start = at + from.size();
    }
    return out.append(text, start);
}

/// Two faces with awkward but exactly representable-by-strtod values, inside
/// the usual section framing, with LF line ends.
std::string twoFaces() {
    return "999\nmade by hand\n  0\nSECTION\n  2\nENTITIES\n" +
           faceText({"0.1", "-123.456789012345", "1e-7", "3.0000000000000004", "  42", "-0.0", "7",
                     "8", "9", "-98765.4321e-3", "11", "12"}) +
           faceText({"1", "2", "3", "4", "5", "6", "7", "8", "9", "10", "11", "12"}) +
           "  0\nENDSEC\n  0\nEOF\n";
}

TEST(DxfReader, DefaultTransformStoresTheFileValuesExactly) {
    TempFolder folder;
    const ReadRun run = readAll(folder.write("a.dxf", twoFaces()));
    ASSERT_EQ(run.result, 1);
    ASSERT_EQ(run.faces.size(), 2u);
    EXPECT_TRUE(run.messages.empty());
    const std::array<double, 12> first{
        0.1, -123.456789012345, 1e-7, 3.0000000000000004, 42, 0.0, 7, 8, 9, -98765.4321e-3, 11, 12};
    EXPECT_EQ(run.faces[0].corners, first);
    const std::array<double, 12> second{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12};
    EXPECT_EQ(run.faces[1].corners, second);
}

TEST(DxfReader, LineEndsCrLfAndCrReadLikeLf) {
    TempFolder folder;
    const std::string lf = twoFaces();
    const ReadRun a = readAll(folder.write("lf.dxf", lf));
    const ReadRun b = readAll(folder.write("crlf.dxf", replaceAll(lf, "\n", "\r\n")));
    const ReadRun c = readAll(folder.write("cr.dxf", replaceAll(lf, "\n", "\r")));
    ASSERT_EQ(a.faces.size(), 2u);
    for (const ReadRun* other : {&b, &c}) {
        EXPECT_EQ(other->result, a.result);
        ASSERT_EQ(other->faces.size(), a.faces.size());
        for (std::size_t i = 0; i < a.faces.size(); ++i) {
            EXPECT_EQ(other->faces[i].corners, a.faces[i].corners);
        }
    }
    // Progress is characters read over the file size; every character counts,
    // so the last face of each file reports how far into its own file it is.
    const auto endOfLastFace = [](const std::string& text, std::string_view lastValueLine) {
        return static_cast<float>(
            static_cast<double>(text.rfind(lastValueLine) + lastValueLine.size()) /
            static_cast<double>(text.size()));
    };
    const std::string crlf = replaceAll(lf, "\n", "\r\n");
    EXPECT_EQ(a.faces[1].progress, endOfLastFace(lf, "\n12\n"));
    EXPECT_EQ(b.faces[1].progress, endOfLastFace(crlf, "\r\n12\r\n"));
    EXPECT_LT(a.faces[0].progress, a.faces[1].progress);
}

TEST(DxfReader, KeysAreFoundAnywhereInOrderWhateverComesBetween) {
    TempFolder folder;
    // The layer line comes after the coordinates, keys carry text around
    // them, and unrelated groups sit between the corner keys.
    const std::string text = "0\n3DFACE\n"
                             "5\nAB\n"
                             "key 10 here\n1\n"
                             "62\n7\n"
                             "20\n2\n30\n3\n11\n4\n21\n5\n31\n6\n12\n7\n22\n8\n32\n9\n"
                             "13\n10\n23\n11\n33\n12\n"
                             "8\nLayerAfterCoordinates\n0\nEOF\n";
    const ReadRun run = readAll(folder.write("a.dxf", text));
    ASSERT_EQ(run.result, 1);
    ASSERT_EQ(run.faces.size(), 1u);
    EXPECT_EQ(run.faces[0].corners,
              (std::array<double, 12>{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12}));
}

TEST(DxfReader, FacesOfFilesWithSubclassMarkersAndHandlesReadWhole) {
    TempFolder folder;
    // As AutoCAD 2000 and later, ezdxf and Blender write a 3DFACE: a handle
    // (here "10", then "30"), the owner's handle under code 330 and subclass
    // markers under code 100, all before the corners.
    const auto face = [](const char* handle) {
        return std::string("  0\n3DFACE\n  5\n") + handle +
               "\n330\n1F\n100\nAcDbEntity\n  8\n0\n100\nAcDbFace\n"
               " 10\n-100.0\n 20\n-120.0\n 30\n0.5\n 11\n-90.0\n 21\n-120.0\n 31\n1.5\n"
               " 12\n-90.0\n 22\n-110.0\n 32\n2.5\n 13\n-100.0\n 23\n-110.0\n 33\n3.5\n";
    };
    const ReadRun run = readAll(folder.write(
        "r2000.dxf", "  0\nSECTION\n  2\nENTITIES\n" + face("10") + face("30") +
                         "  0\nENDSEC\n  0\nEOF\n"));
    ASSERT_EQ(run.result, 1);
    ASSERT_EQ(run.faces.size(), 2u);
    for (const auto& f : run.faces) {
        EXPECT_EQ(f.corners, (std::array<double, 12>{-100, -120, 0.5, -90, -120, 1.5, -90, -110,
                                                     2.5, -100, -110, 3.5}));
    }
}

TEST(DxfReader, OverLongLineFailsTheImport) {
    TempFolder folder;
    const std::string ok255 = "999\n" + std::string(255, 'x') + "\n" + twoFaces();
    const ReadRun fine = readAll(folder.write("255.dxf", ok255));
    EXPECT_EQ(fine.result, 1);
    EXPECT_EQ(fine.faces.size(), 2u);

    struct Case {
        const char* name;
        std::string text;
        std::size_t facesBefore;
    };
    const Case cases[] = {
        {"before any face", "999\n" + std::string(256, 'x') + "\n" + twoFaces(), 0},
        {"after a face",
         faceText({"1", "2", "3", "4", "5", "6", "7", "8", "9", "10", "11", "12"}) +
             std::string(256, ' ') + "\n" + twoFaces(),
         1},
        {"as a value line", "0\n3DFACE\n10\n" + std::string(300, '1') + "\n", 0},
        {"unterminated at the end", twoFaces() + std::string(256, 'x'), 2},
    };
    for (const Case& c : cases) {
        const ReadRun run = readAll(folder.write("long.dxf", c.text));
        EXPECT_EQ(run.result, 0) << c.name;
        EXPECT_EQ(run.faces.size(), c.facesBefore) << c.name;
        EXPECT_EQ(run.messages, std::vector<std::string>{kReadError}) << c.name;
    }
}

TEST(DxfReader, FailuresCarryTheirMessages) {
    TempFolder folder;
    const ReadRun missing = readAll(folder.path() / "none.dxf");
    EXPECT_EQ(missing.result, 0);
    EXPECT_EQ(missing.messages, std::vector<std::string>{"The DXF file could not be opened."});

    for (const std::string& text :
         {std::string(), std::string("0\nSECTION\n2\nENTITIES\n0\nLINE\n10\n1\n0\nEOF\n"),
          std::string("0\n3DF\0ACE\n10\n1\n", 15),
          // The end of the file inside a face's values loses only that face.
          std::string("0\n3DFACE\n10\n1\n20\n2\n30\n3\n11\n4\n")}) {
        const ReadRun run = readAll(folder.write("empty.dxf", text));
        EXPECT_EQ(run.result, 0);
        EXPECT_TRUE(run.faces.empty());
        EXPECT_EQ(run.messages, std::vector<std::string>{kNoPolygons});
    }
}

TEST(DxfReader, FileEndingInsideAFaceKeepsTheEarlierFaces) {
    TempFolder folder;
    const std::string full =
        faceText({"1", "2", "3", "4", "5", "6", "7", "8", "9", "10", "11", "12"});
    for (const std::string& tail :
         {std::string("0\n3DFACE\n10\n1\n20\n"), std::string("0\n3DFACE\n")}) {
        const ReadRun run = readAll(folder.write("cut.dxf", full + tail));
        EXPECT_EQ(run.result, 1);
        EXPECT_EQ(run.faces.size(), 1u);
        EXPECT_TRUE(run.messages.empty());
    }
    // The last value line may end the file without a terminator.
    const ReadRun unterminated = readAll(folder.write("cut.dxf", full.substr(0, full.size() - 1)));
    ASSERT_EQ(unterminated.faces.size(), 1u);
    EXPECT_EQ(unterminated.faces[0].corners[11], 12.0);
    EXPECT_EQ(unterminated.faces[0].progress, 1.0f);
}

TEST(DxfReader, CallbackReturningZeroStopsTheRead) {
    TempFolder folder;
    const std::filesystem::path file = folder.write("a.dxf", twoFaces());
    const ReadRun run = readAll(file, {}, 1);
    EXPECT_EQ(run.result, 0);
    EXPECT_EQ(run.faces.size(), 1u);
    EXPECT_TRUE(run.messages.empty());

    // A callback's other non-zero results go on and the last one is returned.
    RecordedMessages messages;
    int calls = 0;
    const int result = readDxf(
        file, 0, {},
        [&](const std::array<double, 12>&, float progress) {
            EXPECT_EQ(progress, 0.0f); // no size known
            return ++calls == 1 ? 5 : 7;
        },
        messages);
    EXPECT_EQ(result, 7);
    EXPECT_EQ(calls, 2);
}

TEST(DxfReader, FacesWithNonFiniteCoordinatesAreSkippedAndReported) {
    TempFolder folder;
    const auto faceWith = [](std::size_t at, const std::string& value) {
        std::array<std::string, 12> values{"1", "2", "3", "4",  "5",  "6",
                                           "7", "8", "9", "10", "11", "12"};
        values[at] = value;
        return faceText(values);
    };
    const std::string good = faceWith(0, "1");
    const std::string text = good + faceWith(3, "nan") + faceWith(11, "-inf") + good +
                             faceWith(0, "1e999") + faceWith(5, "1e39") + good;
    const ReadRun run = readAll(folder.write("bad.dxf", text));
    EXPECT_EQ(run.result, 1);
    EXPECT_EQ(run.faces.size(), 3u);
    for (const ReadFace& face : run.faces) {
        EXPECT_EQ(face.corners[0], 1.0);
    }
    EXPECT_EQ(run.messages,
              std::vector<std::string>{"4 polygons with invalid coordinates were skipped."});

    // A finite value that the transform scales beyond a float is corrupt too.
    model::GeometryTransform huge;
    huge.fileUnit = 1e30f;
    const ReadRun scaled = readAll(folder.write("big.dxf", faceWith(0, "1e10") + good), huge);
    EXPECT_EQ(scaled.faces.size(), 1u);
    EXPECT_EQ(scaled.messages,
              std::vector<std::string>{"1 polygons with invalid coordinates were skipped."});

    const ReadRun onlyBad = readAll(folder.write("allbad.dxf", faceWith(7, "NAN(123)")));
    EXPECT_EQ(onlyBad.result, 0);
    EXPECT_EQ(onlyBad.messages,
              (std::vector<std::string>{"1 polygons with invalid coordinates were skipped.",
                                        kNoPolygons}));
}

TEST(DxfReader, LeftHandPointImportsInSystemAxes) {
    TempFolder folder;
    model::GeometryTransform left;
    left.rightHanded = 0;
    const ReadRun run = readAll(folder.write("l.dxf", faceText({"1", "2", "3", "1", "2", "3", "0",
                                                                "0", "0", "-4", "5", "0.5"})),
                                left);
    ASSERT_EQ(run.faces.size(), 1u);
    const std::array<double, 12> expected{3, 1, -2, 3, 1, -2, 0, 0, 0, 0.5, -4, -5};
    EXPECT_EQ(run.faces[0].corners, expected);
}

TEST(DxfReader, ScaleFileUnitRotationAndTranslation) {
    TempFolder folder;
    model::GeometryTransform t;
    t.fileUnit = 0.5f;
    t.scale = {2.0f, 4.0f, 8.0f};
    t.rotate = {0.0f, 0.0f, 90.0f}; // yaw 90 deg: file forward becomes right
    t.translate = {100.0f, 200.0f, 300.0f};
    const ReadRun run = readAll(folder.write("t.dxf", faceText({"1", "0", "0", "0", "1", "0", "0",
                                                                "0", "1", "1", "1", "1"})),
                                t);
    ASSERT_EQ(run.faces.size(), 1u);
    const std::array<double, 12> expected{100, 201, 300, 98, 200, 300, 100, 200, 304, 98, 201, 304};
    for (std::size_t i = 0; i < 12; ++i) {
        EXPECT_NEAR(run.faces[0].corners[i], expected[i], 1e-12) << i;
    }
}

} // namespace
} // namespace kv::geom::test
