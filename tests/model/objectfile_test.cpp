// Object files: saving slot 0, opening into slot 0 and the version test.

#include "model/object_file.h"
#include "model/object_model.h"
#include "model/record_codec.h"
#include "support/file_test_support.h"
#include "support/motion_test_data.h"

#include <gtest/gtest.h>

namespace kv::model {
namespace {

using filetest::MeshRecorder;
using filetest::MessageLog;
using filetest::ScratchDir;

class ObjectFileTest : public ::testing::Test {
  protected:
    std::filesystem::path saveSample(const std::string& name, const ObjectRecord& record) {
        const auto path = dir / name;
        EXPECT_TRUE(saveObjectFile(path, record, filetest::sourceOf(tris), log));
        return path;
    }
    MotionTarget slot0() { return {0, &slot, mesh.intake()}; }

    ScratchDir dir;
    MessageLog log;
    MeshRecorder mesh;
    ObjectRecord slot;
    std::vector<std::array<float, 9>> tris = filetest::sampleTriangles(5);
};

TEST_F(ObjectFileTest, LayoutIsAMotionFileWithoutFrames) {
    const auto path = saveSample("golf.kvo", filetest::sampleObject());
    const auto bytes = filetest::readBytes(path);
    ASSERT_EQ(bytes.size(), 4 + 11940 + 4 + 5 * 36 + 264u);
    EXPECT_EQ(io::getI32(bytes.data()), 11940);
    EXPECT_EQ(io::getI32(bytes.data() + 4 + 11940), 5);
    const std::size_t marker = bytes.size() - 264;
    EXPECT_EQ(io::getF32(bytes.data() + marker), -999.0f);
    for (std::size_t i = marker + 4; i < bytes.size(); ++i)
        EXPECT_EQ(bytes[i], 0) << i;
}

TEST_F(ObjectFileTest, ReopenedObjectDiffersOnlyInInitialRoleAndName) {
    const ObjectRecord saved = filetest::sampleObject();
    const auto path = saveSample("My Car.kvo", saved);

    resetObject(slot);
    slot.initial.position = {1.0f, 2.0f, 3.0f};
    slot.initial.attitude = {0.0f, 0.0f, 270.0f};
    const InitialConditions kept = slot.initial;
    ASSERT_TRUE(loadObjectFile(path, slot0(), true, log));
    EXPECT_TRUE(log.shown.empty());

    ObjectRecord expected = saved;
    expected.initial = kept;
    expected.role = kRoleInteractive;
    setRecordName(expected.name, "My Car");
    EXPECT_EQ(encodeObject(slot), encodeObject(expected));
    EXPECT_EQ(mesh.clears, 1);
    EXPECT_EQ(mesh.faces.size(), 5u);
}

TEST_F(ObjectFileTest, WithoutKeepingTheInitialConditionsTheFilesAreUsed) {
    const ObjectRecord saved = filetest::sampleObject();
    ASSERT_TRUE(loadObjectFile(saveSample("a.b.kvo", saved), slot0(), false, log));
    EXPECT_EQ(slot.initial.position, saved.initial.position);
    EXPECT_EQ(recordName(slot.name), "a.b");
}

TEST_F(ObjectFileTest, VersionTest) {
    struct Case {
        std::vector<std::uint8_t> head;
        FileVersion expected;
    };
    auto word = [](std::int32_t v) {
        std::vector<std::uint8_t> b(4);
        io::putI32(b.data(), v);
        b.resize(64, 0);
        return b;
    };
    const Case cases[] = {
        {word(11940), kVersionCurrent}, {word(12076), kVersionPrevious},
        {word(3360), kVersionRefused},  {word(0), kVersionRefused},
        {word(-999), kVersionRefused},  {{0x74, 0x2e}, kVersionRefused},
        {{}, kVersionRefused},
    };
    for (const Case& c : cases) {
        const auto path = dir / "v.kvo";
        filetest::writeBytes(path, c.head);
        log.shown.clear();
        EXPECT_EQ(checkFileVersion(path, log), c.expected);
        EXPECT_EQ(log.shown.size(), c.expected == kVersionRefused ? 1u : 0u);
    }
    EXPECT_EQ(checkFileVersion(dir / "absent.kvo", log), kVersionRefused);
    EXPECT_EQ(log.shown.back(), "A valid file was not selected.");
}

TEST_F(ObjectFileTest, VersionTestReturnsToWhereItStarted) {
    const auto path = saveSample("p.kvo", filetest::sampleObject());
    std::FILE* in = std::fopen(path.c_str(), "rb");
    ASSERT_NE(in, nullptr);
    EXPECT_EQ(checkFileVersion(in, log), kVersionCurrent);
    EXPECT_EQ(std::ftell(in), 0);
    std::fclose(in);
}

TEST_F(ObjectFileTest, MoreThanOneVersionOldChangesNothing) {
    const auto path = dir / "ancient.kvo";
    auto bytes = filetest::readBytes(saveSample("tmp.kvo", filetest::sampleObject()));
    io::putI32(bytes.data(), 10000);
    filetest::writeBytes(path, bytes);
    std::filesystem::remove(dir / "tmp.kvo");

    slot = filetest::sampleObject();
    const ObjectImage before = encodeObject(slot);
    EXPECT_FALSE(loadObjectFile(path, slot0(), true, log));
    ASSERT_EQ(log.shown.size(), 1u);
    EXPECT_EQ(log.shown[0], "The file is more than one version old and cannot be converted to the "
                            "current version.");
    EXPECT_EQ(encodeObject(slot), before);
    EXPECT_EQ(mesh.clears, 0);
    EXPECT_EQ(filetest::readBytes(path), bytes);
    EXPECT_EQ(dir.entries(), std::vector<std::string>{"ancient.kvo"});
}

TEST_F(ObjectFileTest, DamagedObjectFilesFailWithTheObjectReadersMessage) {
    const auto good = filetest::readBytes(saveSample("good.kvo", filetest::sampleObject()));
    for (std::size_t cut :
         {std::size_t{8}, std::size_t{4 + 11940}, std::size_t{4 + 11940 + 20}, good.size() - 100}) {
        auto bytes = good;
        bytes.resize(cut);
        filetest::writeBytes(dir / "cut.kvo", bytes);
        log.shown.clear();
        EXPECT_FALSE(loadObjectFile(dir / "cut.kvo", slot0(), true, log)) << cut;
        ASSERT_EQ(log.shown.size(), 1u) << cut;
        EXPECT_EQ(log.shown[0], "The object file cannot be read because it was created by an old "
                                "version of Kestrovane.");
    }
}

} // namespace
} // namespace kv::model
