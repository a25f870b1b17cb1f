#include "common/le_io.h"
#include "geometry/scenery.h"
#include "geometry/working_files.h"
#include "support/fake_ports.h"
#include "support/terrain_test_faces.h"
#include "support/terrain_test_ports.h"

#include <bit>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <vector>

namespace kv::geom {
namespace {

namespace fs = std::filesystem;

std::vector<std::uint8_t> floatsLE(const std::vector<float>& values) {
    std::vector<std::uint8_t> out(values.size() * 4);
    for (std::size_t k = 0; k < values.size(); ++k)
        io::putF32(out.data() + k * 4, values[k]);
    return out;
}

std::vector<std::uint8_t> doublesLE(const std::vector<double>& values) {
    std::vector<std::uint8_t> out(values.size() * 8);
    for (std::size_t k = 0; k < values.size(); ++k) {
        const auto bits = std::bit_cast<std::uint64_t>(values[k]);
        io::putU32(out.data() + k * 8, static_cast<std::uint32_t>(bits));
        io::putU32(out.data() + k * 8 + 4, static_cast<std::uint32_t>(bits >> 32));
    }
    return out;
}

std::vector<std::uint8_t> fileBytes(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void writeBytes(const fs::path& p, const std::vector<std::uint8_t>& bytes) {
    std::ofstream out(p, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
}

class SceneryStreamTest : public ::testing::Test {
  protected:
    void SetUp() override {
        folder_ = PrivateWorkingFolder::create();
        ASSERT_NE(folder_, nullptr);
    }
    fs::path file(const char* name) const { return folder_->folder() / name; }

    bool addSet(SceneryStore& store, const std::vector<test::Face>& faces,
                const model::GeometryTransform& transform = {}) {
        if (!store.beginImport(transform, 19, 0, "set.dxf", progress_, messages_))
            return false;
        for (const auto& f : faces)
            store.intakeFace(f, 0.5f, progress_, messages_);
        return store.finishImport(true, progress_, messages_);
    }

    static std::vector<Triangle<float>> readAll(const fs::path& p) {
        SceneryStreamReader reader(p);
        std::vector<Triangle<float>> out;
        Triangle<float> t;
        while (reader.next(t) == StreamRead::Triangle)
            out.push_back(t);
        return out;
    }

    std::unique_ptr<PrivateWorkingFolder> folder_;
    test::ScriptedProgress progress_;
    test::RecordingMessages messages_;
};

TEST_F(SceneryStreamTest, EndMarkerIsRecognisedWithinThePrecisionsTolerance) {
    // First value of a record, marker or not, per precision.
    EXPECT_TRUE(isEndMarker(-999.0f));
    EXPECT_TRUE(isEndMarker(-999.0005f));
    EXPECT_TRUE(isEndMarker(-998.5f));
    EXPECT_FALSE(isEndMarker(-997.0f));
    EXPECT_FALSE(isEndMarker(999.0f));
    EXPECT_TRUE(isEndMarker(-999.0));
    EXPECT_TRUE(isEndMarker(-999.000001));
    EXPECT_FALSE(isEndMarker(-999.0005));

    // A stream whose second record starts with −999.0005 ends there, whatever follows.
    writeBytes(file("scene0"), floatsLE({1, 2, 3, 4, 5, 6, 7, 8, 9, -999.0005f, 11, 12}));
    SceneryStreamReader reader(file("scene0"));
    Triangle<float> t;
    ASSERT_EQ(reader.next(t), StreamRead::Triangle);
    EXPECT_EQ(t[2], (Corner<float>{7, 8, 9}));
    EXPECT_EQ(reader.next(t), StreamRead::End);
}

TEST_F(SceneryStreamTest, StreamsCutShortAreErrors) {
    struct Case {
        const char* what;
        std::vector<std::uint8_t> bytes;
    };
    const Case cases[] = {
        {"empty", {}},
        {"inside a triangle", floatsLE({1, 2, 3, 4, 5})},
        {"after a triangle, before the marker", floatsLE({1, 2, 3, 4, 5, 6, 7, 8, 9})},
        {"inside the marker", {0x00, 0xc0}},
    };
    for (const Case& c : cases) {
        writeBytes(file("scene1"), c.bytes);
        SceneryStreamReader reader(file("scene1"));
        Triangle<float> t;
        StreamRead r;
        do
            r = reader.next(t);
        while (r == StreamRead::Triangle);
        EXPECT_EQ(r, StreamRead::Error) << c.what;
    }
    SceneryStreamReader missing(file("nothing"));
    Triangle<float> t;
    EXPECT_FALSE(missing.isOpen());
    EXPECT_EQ(missing.next(t), StreamRead::Error);
}

TEST_F(SceneryStreamTest, TerrainStreamIsNineLittleEndianDoublesAndADoubleMarker) {
    {
        TerrainStreamWriter w(file("terrain"));
        ASSERT_TRUE(w.write({{{1.5, 2, 3}, {4, 5, 6}, {7, 8, 9.25}}}));
        ASSERT_TRUE(w.writeEnd());
        ASSERT_TRUE(w.close());
        EXPECT_EQ(w.triangleCount(), 1);
    }
    EXPECT_EQ(fileBytes(file("terrain")), doublesLE({1.5, 2, 3, 4, 5, 6, 7, 8, 9.25, -999.0}));
}

TEST_F(SceneryStreamTest, ATriangleStartingAtTheMarkerIsRotatedNotLost) {
    {
        SceneryStreamWriter w(file("scene0"));
        ASSERT_TRUE(w.write({{{-999.2f, 0, 0}, {5, 0, 0}, {5, 5, 0}}}));
        ASSERT_TRUE(w.write({{{-999, 0, 0}, {-999, 1, 0}, {-999, 1, 1}}})); // a wall on the marker
        ASSERT_TRUE(w.write({{{1, 1, 1}, {2, 2, 2}, {3, 1, 3}}}));
        ASSERT_TRUE(w.writeEnd());
        EXPECT_EQ(w.triangleCount(), 2);
        EXPECT_EQ(w.droppedCount(), 1);
    }
    const auto tris = readAll(file("scene0"));
    ASSERT_EQ(tris.size(), 2u);
    // Same corners, same winding, another corner first.
    EXPECT_EQ(tris[0], (Triangle<float>{{{5, 0, 0}, {5, 5, 0}, {-999.2f, 0, 0}}}));
    EXPECT_EQ(tris[1], (Triangle<float>{{{1, 1, 1}, {2, 2, 2}, {3, 1, 3}}}));
}

TEST_F(SceneryStreamTest, StreamCopyIsVerbatimAndStopsRightAfterTheMarker) {
    // Two streams back to back, as in a project file, followed by other data.
    const auto first = floatsLE({1, 2, 3, 4, 5, 6, 7, 8, 9, -999.0005f});
    const auto second = floatsLE({-999.0f});
    std::vector<std::uint8_t> all = first;
    all.insert(all.end(), second.begin(), second.end());
    all.push_back(0x5a);
    writeBytes(file("project"), all);

    FileHandle in(std::fopen(file("project").c_str(), "rb"));
    FileHandle out(std::fopen(file("copy").c_str(), "wb"));
    EXPECT_EQ(copySceneryStream(in.get(), out.get(), 5), 1);
    EXPECT_EQ(copySceneryStream(in.get(), out.get(), 5), 0);
    EXPECT_EQ(std::fgetc(in.get()), 0x5a);
    out.reset();
    std::vector<std::uint8_t> expected = first;
    expected.insert(expected.end(), second.begin(), second.end());
    EXPECT_EQ(fileBytes(file("copy")), expected);

    // More triangles than the document says, or no marker: refused.
    FileHandle again(std::fopen(file("project").c_str(), "rb"));
    FileHandle sink(std::fopen(file("sink").c_str(), "wb"));
    EXPECT_EQ(copySceneryStream(again.get(), sink.get(), 0), -1);
    writeBytes(file("short"), floatsLE({1, 2, 3, 4, 5, 6, 7, 8, 9}));
    FileHandle shortIn(std::fopen(file("short").c_str(), "rb"));
    EXPECT_EQ(copySceneryStream(shortIn.get(), sink.get(), 5), -1);
    writeBytes(file("shortT"), doublesLE({1, 2, 3}));
    FileHandle shortT(std::fopen(file("shortT").c_str(), "rb"));
    EXPECT_EQ(copyTerrainStream(shortT.get(), sink.get(), 5), -1);
}

TEST_F(SceneryStreamTest, ImportStoresSinglePrecisionTrianglesOfEachFace) {
    SceneryStore store(*folder_);
    ASSERT_TRUE(addSet(store, {test::squareFace(0, 0, 2, 1, -0.1),
                               test::triangleFace({0, 0, 0}, {1, 0, 0}, {0, 1, 0}),
                               {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}}));
    ASSERT_EQ(store.count(), 1);
    EXPECT_EQ(store.set(0).triangleCount, 3);
    EXPECT_EQ(store.set(0).baseName, "set.dxf");
    EXPECT_EQ(store.set(0).color, 19);
    const auto tris = readAll(store.workingFile(0));
    ASSERT_EQ(tris.size(), 3u);
    EXPECT_EQ(tris[0], (Triangle<float>{{{0, 0, -0.1f}, {2, 0, -0.1f}, {2, 1, -0.1f}}}));
    EXPECT_EQ(tris[1], (Triangle<float>{{{0, 0, -0.1f}, {2, 1, -0.1f}, {0, 1, -0.1f}}}));
    EXPECT_EQ(progress_.titles, (std::vector<std::string>{"Reading Scenery Polygons:"}));
    EXPECT_EQ(store.workingFile(0).filename(), "scene0");
}

TEST_F(SceneryStreamTest, FailedImportLeavesNoSetAndFiveSetsAreTheLimit) {
    SceneryStore store(*folder_);
    ASSERT_TRUE(store.beginImport({}, 19, 0, "bad.dxf", progress_, messages_));
    store.intakeFace(test::squareFace(0, 0, 1, 1, 0), 0.5f, progress_, messages_);
    EXPECT_FALSE(store.finishImport(false, progress_, messages_));
    EXPECT_EQ(store.count(), 0);
    EXPECT_FALSE(fs::exists(store.workingFile(0)));

    for (int k = 0; k < 5; ++k)
        ASSERT_TRUE(addSet(store, {test::squareFace(0, 0, 1, 1, -k)}));
    EXPECT_TRUE(store.full());
    EXPECT_FALSE(store.beginImport({}, 19, 0, "sixth.dxf", progress_, messages_));
    EXPECT_EQ(store.count(), 5);
}

TEST_F(SceneryStreamTest, RemovingASetMovesTheLaterSetsAndTheirFilesDown) {
    SceneryStore store(*folder_);
    for (int k = 0; k < 3; ++k)
        ASSERT_TRUE(addSet(store, {test::squareFace(0, 0, 1, 1, -k)}));
    store.setAppearance(2, 4, 1);
    const auto third = fileBytes(store.workingFile(2));
    ASSERT_TRUE(store.removeScenery(1, messages_));
    ASSERT_EQ(store.count(), 2);
    EXPECT_EQ(fileBytes(store.workingFile(1)), third);
    EXPECT_EQ(store.set(1).color, 4);
    EXPECT_EQ(store.set(1).transparency, 1);
    EXPECT_FALSE(fs::exists(store.workingFile(2)));
    EXPECT_EQ(readAll(store.workingFile(0))[0][0][2], 0.0f);
    EXPECT_FALSE(store.removeScenery(2, messages_));

    store.clear();
    EXPECT_EQ(store.count(), 0);
    EXPECT_FALSE(fs::exists(store.workingFile(0)));
}

TEST_F(SceneryStreamTest, RetransformCarriesPointsToTheNewTransformThroughATempFile) {
    SceneryStore store(*folder_);
    ASSERT_TRUE(addSet(store, {test::triangleFace({1, 2, 3}, {4, 5, 6}, {7, 8, 10})}));
    model::GeometryTransform moved;
    moved.translate = {10, 20, 30};
    moved.scale = {2, 2, 2};
    ASSERT_TRUE(store.retransformScenery(0, moved, messages_));
    EXPECT_EQ(store.set(0).transform.translate, moved.translate);
    auto tris = readAll(store.workingFile(0));
    ASSERT_EQ(tris.size(), 1u);
    EXPECT_EQ(tris[0][0], (Corner<float>{12, 24, 36}));
    EXPECT_FALSE(fs::exists(folder_->folder() / "scene0Temp"));

    // A quarter turn of yaw: forward becomes right.
    model::GeometryTransform turned;
    turned.rotate = {0, 0, 90};
    ASSERT_TRUE(store.retransformScenery(0, turned, messages_));
    tris = readAll(store.workingFile(0));
    EXPECT_NEAR(tris[0][0][0], -2.0f, 1e-5f);
    EXPECT_NEAR(tris[0][0][1], 1.0f, 1e-5f);
    EXPECT_NEAR(tris[0][0][2], 3.0f, 1e-5f);

    // And back to the identity gives the imported points.
    ASSERT_TRUE(store.retransformScenery(0, {}, messages_));
    tris = readAll(store.workingFile(0));
    EXPECT_NEAR(tris[0][2][0], 7.0f, 1e-5f);
    EXPECT_NEAR(tris[0][2][1], 8.0f, 1e-5f);
    EXPECT_NEAR(tris[0][2][2], 10.0f, 1e-5f);
}

TEST_F(SceneryStreamTest, SetsSurviveAProjectStreamRoundTrip) {
    SceneryStore store(*folder_);
    ASSERT_TRUE(addSet(store, {test::squareFace(0, 0, 2, 1, -0.5)}));
    ASSERT_TRUE(addSet(store, {test::triangleFace({0, 0, 0}, {1, 0, 0}, {0, 1, 0})}));
    {
        FileHandle out(std::fopen(file("project").c_str(), "wb"));
        ASSERT_TRUE(store.writeStream(0, out.get(), messages_));
        ASSERT_TRUE(store.writeStream(1, out.get(), messages_));
    }
    auto otherFolder = PrivateWorkingFolder::create();
    SceneryStore copy(*otherFolder);
    FileHandle in(std::fopen(file("project").c_str(), "rb"));
    ASSERT_TRUE(copy.readStream(in.get(), store.set(0), messages_));
    ASSERT_TRUE(copy.readStream(in.get(), store.set(1), messages_));
    EXPECT_EQ(std::fgetc(in.get()), EOF);
    ASSERT_EQ(copy.count(), 2);
    for (int k = 0; k < 2; ++k) {
        EXPECT_EQ(fileBytes(copy.workingFile(k)), fileBytes(store.workingFile(k)));
        EXPECT_EQ(copy.set(k).triangleCount, store.set(k).triangleCount);
    }

    // A count in the document below the stream's is a damaged file.
    SceneSetInfo wrong = store.set(0);
    wrong.triangleCount = 1;
    FileHandle again(std::fopen(file("project").c_str(), "rb"));
    SceneryStore refused(*otherFolder);
    EXPECT_FALSE(refused.readStream(again.get(), wrong, messages_));
    EXPECT_EQ(refused.count(), 0);
    EXPECT_FALSE(messages_.messages.empty());
}

TEST_F(SceneryStreamTest, SequentialReaderGivesEachSetsTrianglesThenStartsAgain) {
    SceneryStore store(*folder_);
    ASSERT_TRUE(addSet(store, {test::squareFace(0, 0, 2, 1, -0.5)}));
    ASSERT_TRUE(addSet(store, {test::triangleFace({0, 0, 0}, {1, 0, 0}, {0, 1, 0})}));
    Triangle<float> t;
    std::int32_t count = -1;
    for (int pass = 0; pass < 2; ++pass) {
        ASSERT_EQ(store.readSceneryTriangle(0, t, count), StreamRead::Triangle);
        EXPECT_EQ(count, 2);
        EXPECT_EQ(t[0], (Corner<float>{0, 0, -0.5f}));
        ASSERT_EQ(store.readSceneryTriangle(0, t, count), StreamRead::Triangle);
        EXPECT_EQ(store.readSceneryTriangle(0, t, count), StreamRead::End);
    }
    // Switching sets starts the other set from its first triangle.
    ASSERT_EQ(store.readSceneryTriangle(0, t, count), StreamRead::Triangle);
    ASSERT_EQ(store.readSceneryTriangle(1, t, count), StreamRead::Triangle);
    EXPECT_EQ(count, 1);
    EXPECT_EQ(t[1], (Corner<float>{1, 0, 0}));
    EXPECT_EQ(store.readSceneryTriangle(1, t, count), StreamRead::End);
    EXPECT_EQ(store.readSceneryTriangle(7, t, count), StreamRead::Error);
}

} // namespace
} // namespace kv::geom
