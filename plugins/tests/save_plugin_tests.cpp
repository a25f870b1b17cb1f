// The Kestrovane-SaveDXF mesh edit, run inside the test host.

#include "support/dxf_faces_reader.h"
#include "support/motion_writer.h"
#include "support/plugins.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>

namespace kv::plugtest {
namespace {

namespace fs = std::filesystem;
using lwtest::MeshFixture;
using lwtest::PanelScript;
using lwtest::TestHost;

/// Ten selected triangles; triangle i has its corners at LightWave x = i.
MeshFixture tenTriangles() {
    MeshFixture mesh;
    for (int i = 0; i < 10; ++i) {
        const double x = i;
        const int base = static_cast<int>(mesh.points.size());
        mesh.points.push_back({x, 0, 0});
        mesh.points.push_back({x, 1, 0});
        mesh.points.push_back({x, 0, 1});
        mesh.polygons.push_back({EDDF_SELECT, {base, base + 1, base + 2}});
    }
    return mesh;
}

/// Which triangles of tenTriangles() a file holds, by the x of their first corner.
std::vector<int> writtenTriangles(const std::vector<DxfFace>& faces) {
    std::vector<int> ids;
    for (const auto& f : faces)
        ids.push_back(static_cast<int>(f[1])); // file y = LightWave x
    return ids;
}

class SavePlugin : public ::testing::Test {
  protected:
    void SetUp() override {
        module_ = loadModule(KV_SAVE_PLUGIN);
        ASSERT_TRUE(module_);
        server_ = module_->findServer("MeshDataEdit", "Kestrovane-SaveDXF");
        ASSERT_NE(server_, nullptr);
        host_.mesh = tenTriangles();
    }

    /// Saves to out.dxf with "Skip Polygons" answered `skip`.
    int save(int skip = 1) {
        host_.panelScripts.push_back({true, {{"Skip Polygons", skip}}});
        host_.fileRequestScripts.push_back({1, target_.string()});
        return host_.meshEdit(*server_);
    }

    std::vector<DxfFace> faces() const {
        DxfRead read = readDxfFaces(readText(target_));
        EXPECT_EQ(read.error, "");
        return read.faces;
    }

    std::vector<std::string> files() const {
        std::vector<std::string> names;
        for (const auto& e : fs::directory_iterator(dir_.path())) {
            names.push_back(e.path().filename().string());
        }
        return names;
    }

    TempDir dir_;
    fs::path target_ = dir_ / "out.dxf";
    TestHost host_;
    std::unique_ptr<lwtest::PluginModule> module_;
    const ServerRecord* server_ = nullptr;
};

TEST_F(SavePlugin, ModuleOffersOneMeshEdit) {
    expectHostAcceptsDescriptor(*module_);
    const std::vector<std::pair<std::string, std::string>> expected = {
        {"MeshDataEdit", "Kestrovane-SaveDXF"}};
    EXPECT_EQ(module_->servers(), expected);
}

TEST_F(SavePlugin, TriangleGivesTheFaceInSimulatorAxes) {
    host_.mesh = {};
    host_.mesh.points = {{0, 0, 1}, {1, 0, 0}, {0, 1, 0}};
    host_.mesh.polygons = {{EDDF_SELECT, {0, 1, 2}}};
    EXPECT_EQ(save(), AFUNC_OK);
    EXPECT_EQ(readText(target_), "999\nDXF file created by Kestrovane\n"
                                 "999\nRight Hand Coordinate System in meters\n"
                                 "   0\nSECTION\n"
                                 "   2\nENTITIES\n"
                                 "  0\n3DFACE\n   8\nKestrovane\n"
                                 " 10\n1\n 20\n0\n 30\n-0\n"
                                 " 11\n0\n 21\n1\n 31\n-0\n"
                                 " 12\n0\n 22\n0\n 32\n-1\n"
                                 " 13\n0\n 23\n0\n 33\n-1\n"
                                 "   0\nENDSEC\n  0\nEOF\n");
    EXPECT_EQ(host_.messages,
              std::vector<std::string>{"Object saved to \"" + target_.string() + "\""});
    EXPECT_EQ(files(), std::vector<std::string>{"out.dxf"});
}

TEST_F(SavePlugin, EndsTheEditWithoutChangingTheMesh) {
    EXPECT_EQ(save(), AFUNC_OK);
    EXPECT_EQ(host_.edit.begins, 1);
    EXPECT_EQ(host_.edit.select, OPSEL_USER);
    EXPECT_EQ(host_.edit.scanLayers, (std::vector<EltOpLayer>{OPLYR_FG, OPLYR_FG}));
    EXPECT_EQ(host_.edit.doneErrors, std::vector<EDError>{EDERR_NONE});
}

struct SkipCase {
    int skip;
    std::vector<int> written;
};

class SavePluginSkip : public SavePlugin, public ::testing::WithParamInterface<SkipCase> {};

TEST_P(SavePluginSkip, WritesEverySkipPolygons) {
    EXPECT_EQ(save(GetParam().skip), AFUNC_OK);
    EXPECT_EQ(writtenTriangles(faces()), GetParam().written);
}

INSTANTIATE_TEST_SUITE_P(Skips, SavePluginSkip,
                         ::testing::Values(SkipCase{3, {0, 3, 6, 9}},
                                           SkipCase{1, {0, 1, 2, 3, 4, 5, 6, 7, 8, 9}},
                                           SkipCase{4, {0, 4, 8}}, SkipCase{10, {0}},
                                           SkipCase{11, {0}}));

TEST_F(SavePlugin, PolygonsWithoutAreaUnselectedOrHiddenAreNeitherWrittenNorCounted) {
    MeshFixture mesh = tenTriangles();
    auto& p = mesh.polygons;
    const MeshFixture::Polygon line{EDDF_SELECT, {0, 1}};
    const MeshFixture::Polygon point{EDDF_SELECT, {0}};
    MeshFixture::Polygon unselected = p[5];
    unselected.flags = 0;
    MeshFixture::Polygon hidden = p[6];
    hidden.flags = EDDF_SELECT | KV_EDPF_HIDDEN;
    // Qualifying order: triangles 0, 1, 2, 3; with skip 2 triangles 0 and 2 are written.
    mesh.polygons = {p[0], line, p[1], point, hidden, p[2], unselected, line, p[3]};
    host_.mesh = mesh;
    EXPECT_EQ(save(2), AFUNC_OK);
    EXPECT_EQ(writtenTriangles(faces()), (std::vector<int>{0, 2}));
}

struct FanCase {
    int corners;
    std::vector<std::array<int, 4>> faces; ///< corner indices of each face
};

class SavePluginFan : public SavePlugin, public ::testing::WithParamInterface<FanCase> {};

TEST_P(SavePluginFan, PolygonFansIntoQuadrilateralsFromItsFirstCorner) {
    const FanCase c = GetParam();
    host_.mesh = {};
    MeshFixture::Polygon polygon;
    for (int k = 0; k < c.corners; ++k) {
        host_.mesh.points.push_back({static_cast<double>(k), 0, 0});
        polygon.points.push_back(k);
    }
    host_.mesh.polygons = {polygon};
    EXPECT_EQ(save(), AFUNC_OK);
    const auto written = faces();
    ASSERT_EQ(written.size(), c.faces.size());
    for (std::size_t f = 0; f < written.size(); ++f) {
        for (std::size_t k = 0; k < 4; ++k) {
            EXPECT_EQ(written[f][3 * k + 1], c.faces[f][k]) << "face " << f << " corner " << k;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Polygons, SavePluginFan,
                         ::testing::Values(FanCase{3, {{0, 1, 2, 2}}}, FanCase{4, {{0, 1, 2, 3}}},
                                           FanCase{5, {{0, 1, 2, 3}, {0, 3, 4, 4}}},
                                           FanCase{6, {{0, 1, 2, 3}, {0, 3, 4, 5}}},
                                           FanCase{7, {{0, 1, 2, 3}, {0, 3, 4, 5}, {0, 5, 6, 6}}},
                                           FanCase{8, {{0, 1, 2, 3}, {0, 3, 4, 5}, {0, 5, 6, 7}}}));

TEST_F(SavePlugin, AsksForSkipPolygonsInOnePanel) {
    EXPECT_EQ(save(), AFUNC_OK);
    ASSERT_EQ(host_.panels.size(), 1u);
    const auto& p = host_.panels[0];
    EXPECT_EQ(p.title, "Kestrovane");
    EXPECT_EQ(p.width, 200);
    ASSERT_EQ(p.controls.size(), 1u);
    EXPECT_EQ(p.controls[0].type, "NumControl");
    EXPECT_EQ(p.controls[0].label, "Skip Polygons");
    EXPECT_EQ(p.controls[0].preset, 1.0);
    EXPECT_EQ(p.openFlags, PANF_BLOCKING | PANF_CANCEL);
    EXPECT_TRUE(p.destroyed);
}

TEST_F(SavePlugin, AsksForTheFileWithTheDefaults) {
    EXPECT_EQ(save(), AFUNC_OK);
    ASSERT_EQ(host_.fileRequests.size(), 1u);
    const auto& r = host_.fileRequests[0];
    EXPECT_EQ(r.hail, "Select the DXF filename:");
    EXPECT_EQ(r.name, ">Kestrovane.dxf");
    EXPECT_EQ(r.path, "\\");
    EXPECT_EQ(r.bufferLength, 256);
}

TEST_F(SavePlugin, CancelledPanelEndsQuietly) {
    host_.panelScripts.push_back({false, {}});
    EXPECT_EQ(host_.meshEdit(*server_), AFUNC_OK);
    EXPECT_TRUE(host_.fileRequests.empty());
    EXPECT_EQ(host_.edit.begins, 0);
    EXPECT_TRUE(host_.messages.empty());
}

TEST_F(SavePlugin, CancelledOrFailedFileRequestEndsQuietly) {
    for (int answer : {0, -1}) {
        host_.panelScripts.push_back({});
        host_.fileRequestScripts.push_back({answer, target_.string()});
        EXPECT_EQ(host_.meshEdit(*server_), AFUNC_OK);
    }
    EXPECT_EQ(host_.fileRequests.size(), 2u);
    EXPECT_EQ(host_.edit.begins, 0);
    EXPECT_TRUE(host_.messages.empty());
    EXPECT_TRUE(files().empty());
}

TEST_F(SavePlugin, SkipBelowOneIsRefusedBeforeAnythingIsAsked) {
    for (int skip : {0, -3}) {
        host_.messages.clear();
        EXPECT_EQ(save(skip), AFUNC_OK);
        EXPECT_EQ(host_.messages, std::vector<std::string>{"Skip polygons must be greater than 0"});
    }
    EXPECT_TRUE(host_.fileRequests.empty());
    EXPECT_EQ(host_.edit.begins, 0);
    EXPECT_TRUE(files().empty());
}

TEST_F(SavePlugin, WithoutPanelServicesWritesEveryPolygon) {
    host_.missingGlobals.insert("LWPanelServices");
    host_.fileRequestScripts.push_back({1, target_.string()});
    EXPECT_EQ(host_.meshEdit(*server_), AFUNC_OK);
    EXPECT_TRUE(host_.panels.empty());
    EXPECT_EQ(faces().size(), 10u);
}

TEST_F(SavePlugin, FindsTheMessagesOfOldAndCurrentHosts) {
    const std::vector<std::string> oldest = {"Info Messages", "LWPanelServices", "File Request"};
    std::vector<std::string> numbered = namesUpTo("Info Messages", 3);
    numbered.insert(numbered.end(), {"LWPanelServices", "File Request"});
    for (const auto& [names, lookups] : {std::pair{lwtest::GlobalNames::Oldest, oldest},
                                         std::pair{lwtest::GlobalNames::Numbered, numbered}}) {
        host_.globalNames = names;
        host_.lookups.clear();
        host_.messages.clear();
        EXPECT_EQ(save(), AFUNC_OK);
        EXPECT_EQ(host_.lookups, lookups);
        EXPECT_EQ(host_.messages,
                  std::vector<std::string>{"Object saved to \"" + target_.string() + "\""});
        EXPECT_EQ(faces().size(), 10u);
    }
    host_.missingGlobals = {"Info Messages"};
    EXPECT_EQ(save(), AFUNC_BADGLOBAL);
}

TEST_F(SavePlugin, MissingServicesAndOtherVersions) {
    host_.missingGlobals = {"Info Messages"};
    EXPECT_EQ(save(), AFUNC_BADGLOBAL);
    host_.missingGlobals = {"File Request"};
    EXPECT_EQ(save(), AFUNC_BADGLOBAL);
    EXPECT_EQ(host_.edit.begins, 0);
    EXPECT_TRUE(host_.panels.empty());

    host_.missingGlobals.clear();
    host_.lookups.clear();
    for (int version : {0, -1, LWMESHEDIT_VERSION_LATEST + 1})
        EXPECT_EQ(host_.meshEdit(*server_, version), AFUNC_BADVERSION);
    EXPECT_TRUE(host_.lookups.empty());
    EXPECT_TRUE(files().empty());
}

TEST_F(SavePlugin, LaterHostsSaveAsTheFirstVersionDoes) {
    // Every version whose edit record begins with the members the plug-in uses.
    for (int version = LWMESHEDIT_VERSION; version <= LWMESHEDIT_VERSION_LATEST; ++version) {
        std::filesystem::remove(target_);
        host_.panelScripts.push_back({true, {{"Skip Polygons", 1}}});
        host_.fileRequestScripts.push_back({1, target_.string()});
        EXPECT_EQ(host_.meshEdit(*server_, version), AFUNC_OK) << version;
        EXPECT_FALSE(faces().empty()) << version;
    }
}

TEST_F(SavePlugin, NothingSelectedWritesNothingAndKeepsAnEarlierFile) {
    { std::ofstream(target_) << "earlier\n"; }
    host_.canBeginEdit = false;
    EXPECT_EQ(save(), AFUNC_OK);
    EXPECT_EQ(host_.messages, std::vector<std::string>{"Nothing selected."});
    EXPECT_EQ(readText(target_), "earlier\n");
    EXPECT_EQ(files(), std::vector<std::string>{"out.dxf"});
}

TEST_F(SavePlugin, NoQualifyingPolygonIsNothingSelected) {
    for (auto& p : host_.mesh.polygons)
        p.flags = 0;
    EXPECT_EQ(save(), AFUNC_OK);
    EXPECT_EQ(host_.messages, std::vector<std::string>{"Nothing selected."});
    EXPECT_EQ(host_.edit.doneErrors, std::vector<EDError>{EDERR_NONE});
    EXPECT_TRUE(files().empty());
}

TEST_F(SavePlugin, UncreatableFileWritesNothingAndBeginsNoEdit) {
    target_ = dir_ / "no such folder" / "out.dxf";
    EXPECT_EQ(save(), AFUNC_OK);
    ASSERT_EQ(host_.messages.size(), 1u);
    EXPECT_EQ(host_.messages[0], "The DXF file \"" + target_.string() + "\" could not be created.");
    EXPECT_EQ(host_.edit.begins, 0);
    EXPECT_TRUE(files().empty());
}

TEST_F(SavePlugin, FailedPointLookupEndsTheScanButClosesTheFile) {
    MeshFixture mesh = tenTriangles();
    const int base = static_cast<int>(mesh.points.size());
    MeshFixture::Polygon hexagon;
    for (int k = 0; k < 6; ++k) {
        mesh.points.push_back({100.0 + k, 0, 0});
        hexagon.points.push_back(base + k);
    }
    mesh.polygons = {mesh.polygons[0], hexagon, mesh.polygons[2]};
    host_.mesh = mesh;
    host_.failingPoint = base + 5; // the hexagon's last corner
    EXPECT_EQ(save(), AFUNC_OK);
    // Triangle 0 and the hexagon's first face are in; the scan stopped there.
    const auto written = faces();
    ASSERT_EQ(written.size(), 2u);
    EXPECT_EQ(written[0][1], 0.0);
    EXPECT_EQ(written[1][1], 100.0);
    EXPECT_EQ(written[1][10], 103.0);
    EXPECT_EQ(host_.edit.doneErrors, std::vector<EDError>{EDERR_NONE});
    ASSERT_EQ(host_.messages.size(), 1u);
    EXPECT_EQ(host_.messages[0].rfind("Object saved to \"" + target_.string() + "\", but", 0), 0u)
        << host_.messages[0];
}

TEST_F(SavePlugin, FailedFirstScanEndsTheEditAndWritesNothing) {
    host_.firstScanError = EDERR_NOMEMORY;
    EXPECT_EQ(save(), AFUNC_OK);
    EXPECT_EQ(host_.edit.doneErrors, std::vector<EDError>{EDERR_NOMEMORY});
    EXPECT_EQ(host_.edit.scanLayers.size(), 1u);
    EXPECT_EQ(host_.messages, std::vector<std::string>{"The selected polygons could not be read."});
    EXPECT_TRUE(files().empty());
}

} // namespace
} // namespace kv::plugtest
