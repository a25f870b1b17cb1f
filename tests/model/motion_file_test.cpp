// Motion file writing and reading into a slot's stored motion.

#include "model/motion_file.h"
#include "model/motion_playback.h"
#include "model/record_codec.h"
#include "support/file_test_support.h"
#include "support/motion_test_data.h"

#include <gtest/gtest.h>

namespace kv::model {
namespace {

using filetest::MeshRecorder;
using filetest::MessageLog;
using filetest::ScratchDir;

constexpr const char* kOldVersion =
    "The file cannot be read because it was created by an old version of Kestrovane.";
constexpr const char* kNoData =
    "The motion file could not be loaded because it contains no motion data.";

std::vector<MotionFrame> framesAt(std::initializer_list<float> times) {
    std::vector<MotionFrame> out;
    for (float t : times)
        out.push_back(filetest::sampleFrame(t));
    return out;
}

std::vector<MotionFrame> evenFrames(int n, float dt = 0.1f) {
    std::vector<MotionFrame> out;
    for (int i = 0; i < n; ++i)
        out.push_back(filetest::sampleFrame(dt * static_cast<float>(i)));
    return out;
}

class MotionFileTest : public ::testing::Test {
  protected:
    std::filesystem::path save(const std::string& name, const ObjectRecord& record,
                               const std::vector<MotionFrame>& frames, std::size_t triangles = 3) {
        const auto tris = filetest::sampleTriangles(triangles);
        const auto path = dir / name;
        EXPECT_TRUE(saveLiveMotion(path, record, filetest::sourceOf(tris), frames, log));
        return path;
    }
    bool load(const std::filesystem::path& path, int slot, bool& report) {
        return loadMotion(path, {slot, &slotRecord, mesh.intake()}, store, report, log);
    }
    bool load(const std::filesystem::path& path, int slot) {
        bool report = true;
        return load(path, slot, report);
    }

    ScratchDir dir;
    MessageLog log;
    MotionStore store;
    ObjectRecord slotRecord;
    MeshRecorder mesh;
};

TEST_F(MotionFileTest, RoundTripRestoresRecordGeometryAndFrames) {
    ASSERT_TRUE(store.allocate(4, 50));
    const ObjectRecord object = filetest::sampleObject();
    const auto frames = evenFrames(7);
    const auto path = save("run.kvm", object, frames, 4);
    EXPECT_EQ(std::filesystem::file_size(path), 4 + 11940 + 4 + 4 * 36 + 8 * 264u);

    ASSERT_TRUE(load(path, 2));
    EXPECT_TRUE(log.shown.empty());
    EXPECT_EQ(encodeObject(slotRecord), encodeObject(object));
    EXPECT_EQ(store.lastFrame(2), 6);
    for (int i = 0; i < 7; ++i)
        EXPECT_EQ(store.frames(2)[i], frames[i]) << i;
    EXPECT_EQ(store.frames(2)[7], endMarkerFrame());

    EXPECT_EQ(mesh.clears, 1);
    const auto tris = filetest::sampleTriangles(4);
    ASSERT_EQ(mesh.faces.size(), 4u);
    for (std::size_t t = 0; t < 4; ++t) {
        for (std::size_t i = 0; i < 9; ++i)
            EXPECT_EQ(mesh.faces[t][i], tris[t][i]);
        for (std::size_t i = 0; i < 3; ++i)
            EXPECT_EQ(mesh.faces[t][9 + i], tris[t][6 + i]);
    }
}

TEST_F(MotionFileTest, ThreeFramesCountingTheEndMarkerGiveLastFrameOne) {
    ASSERT_TRUE(store.allocate(3, 20));
    ASSERT_TRUE(load(save("three.kvm", filetest::sampleObject(), framesAt({0.0f, 0.5f})), 1));
    EXPECT_EQ(store.lastFrame(1), 1);
    EXPECT_EQ(store.cursor(1), 0);

    // Replay holds the second frame from its time on.
    const MotionFrame second = filetest::sampleFrame(0.5f);
    for (float t : {0.5f, 0.9f, 100.0f}) {
        MotionFrame out{};
        interpolateMotion(store, 1, kFrameFieldCount, t, 0.1f, out, log);
        for (int i : {kFrameStickX, kFrameNorth, kFrameYaw, kFrameGear, kFrameTachometer}) {
            EXPECT_FLOAT_EQ(out[i], second[i]) << t << " field " << i;
        }
    }
    EXPECT_TRUE(log.shown.empty());
}

TEST_F(MotionFileTest, LongerThanTheBufferLoadsMMinusOneFramesAndReportsOnce) {
    constexpr int m = 6;
    ASSERT_TRUE(store.allocate(3, m));
    const auto frames = evenFrames(15);
    const auto path = save("long.kvm", filetest::sampleObject(), frames);

    bool report = true;
    ASSERT_TRUE(load(path, 1, report));
    EXPECT_EQ(store.lastFrame(1), m - 2);
    for (int i = 0; i <= m - 2; ++i)
        EXPECT_EQ(store.frames(1)[i], frames[i]);
    ASSERT_EQ(log.shown.size(), 1u);
    EXPECT_EQ(log.shown[0], "The entire motion file could not be loaded because it has more than "
                            "6 frames. Try increasing the record duration.");
    EXPECT_FALSE(report);

    // A sequence of reads (a project's objects) reports only the first time.
    ASSERT_TRUE(load(path, 2, report));
    EXPECT_EQ(store.lastFrame(2), m - 2);
    EXPECT_EQ(log.shown.size(), 1u);
}

TEST_F(MotionFileTest, BufferBoundary) {
    constexpr int m = 6;
    ASSERT_TRUE(store.allocate(2, m));
    // M - 1 frames and the end marker fill the M places exactly: no overflow.
    ASSERT_TRUE(load(save("fits.kvm", filetest::sampleObject(), evenFrames(m - 1)), 1));
    EXPECT_EQ(store.lastFrame(1), m - 2);
    EXPECT_TRUE(log.shown.empty());
    // M frames push the end marker out.
    ASSERT_TRUE(load(save("over.kvm", filetest::sampleObject(), evenFrames(m)), 1));
    EXPECT_EQ(store.lastFrame(1), m - 2);
    EXPECT_EQ(log.shown.size(), 1u);
}

TEST_F(MotionFileTest, OverflowWithTwoFramePlacesIsRefused) {
    ASSERT_TRUE(store.allocate(2, 2));
    EXPECT_FALSE(load(save("two.kvm", filetest::sampleObject(), evenFrames(3)), 1));
    ASSERT_EQ(log.shown.size(), 1u);
    EXPECT_EQ(log.shown[0], "There is not enough memory to load the motion file. Try increasing "
                            "the record duration.");
}

TEST_F(MotionFileTest, FramelessFileNeedsSlotZeroOrAStaticObject) {
    ASSERT_TRUE(store.allocate(3, 10));
    ObjectRecord object = filetest::sampleObject();
    object.role = kRoleInteractive;
    const auto interactive = save("object.kvo", object, {});
    object.role = kRoleStatic;
    const auto still = save("static.kvm", object, {});

    EXPECT_TRUE(load(interactive, 0));
    EXPECT_TRUE(log.shown.empty());
    EXPECT_EQ(store.lastFrame(0), -1);

    EXPECT_TRUE(load(still, 1));
    EXPECT_TRUE(log.shown.empty());

    EXPECT_FALSE(load(interactive, 2));
    ASSERT_EQ(log.shown.size(), 1u);
    EXPECT_EQ(log.shown[0], kNoData);
}

TEST_F(MotionFileTest, FacesStopWhenTheMeshSaysSoButTheFramesStillLoad) {
    ASSERT_TRUE(store.allocate(2, 10));
    mesh.acceptLimit = 2;
    ASSERT_TRUE(load(save("many.kvm", filetest::sampleObject(), evenFrames(4), 6), 1));
    EXPECT_EQ(mesh.faces.size(), 2u);
    EXPECT_EQ(store.lastFrame(1), 3);
}

TEST_F(MotionFileTest, StoredMotionRoundTripsWithEveryFrame) {
    ASSERT_TRUE(store.allocate(3, 12));
    const auto frames = evenFrames(5);
    ASSERT_TRUE(load(save("in.kvm", filetest::sampleObject(), frames), 1));
    ASSERT_EQ(store.lastFrame(1), 4);

    const auto tris = filetest::sampleTriangles(2);
    const auto out = dir / "out.kvm";
    ASSERT_TRUE(saveStoredMotion(out, slotRecord, filetest::sourceOf(tris), store, 1, log));
    ASSERT_TRUE(load(out, 2));
    EXPECT_EQ(store.lastFrame(2), 4);
    for (int i = 0; i <= 4; ++i)
        EXPECT_EQ(store.frames(2)[i], frames[i]);

    // A slot without motion saves as an object file body.
    store.clearSlot(0);
    const auto none = dir / "none.kvm";
    ASSERT_TRUE(saveStoredMotion(none, slotRecord, filetest::sourceOf(tris), store, 0, log));
    EXPECT_EQ(std::filesystem::file_size(none), 4 + 11940 + 4 + 2 * 36 + 264u);
}

TEST_F(MotionFileTest, SizeWordsOtherThanTheCurrentOneAreRefused) {
    ASSERT_TRUE(store.allocate(2, 10));
    const auto good =
        filetest::readBytes(save("good.kvm", filetest::sampleObject(), evenFrames(3)));
    for (std::int32_t size : {12076, 11936, 0, -1, 264}) {
        auto bytes = good;
        io::putI32(bytes.data(), size);
        const auto path = dir / "sized.kvm";
        filetest::writeBytes(path, bytes);
        slotRecord = ObjectRecord{};
        log.shown.clear();
        EXPECT_FALSE(load(path, 1)) << size;
        ASSERT_EQ(log.shown.size(), 1u) << size;
        EXPECT_EQ(log.shown[0], kOldVersion);
        EXPECT_EQ(encodeObject(slotRecord), encodeObject(ObjectRecord{})) << size;
    }
}

TEST_F(MotionFileTest, ShortOrDamagedFilesFailWithTheReadersMessage) {
    ASSERT_TRUE(store.allocate(2, 10));
    const auto good =
        filetest::readBytes(save("good.kvm", filetest::sampleObject(), evenFrames(3)));
    const std::size_t countAt = 4 + 11940;
    const std::size_t effectorCountAt = 4 + 776;
    const std::size_t childCountAt = 4 + 780 + 8;

    struct Case {
        const char* what;
        std::function<void(std::vector<std::uint8_t>&)> damage;
    };
    const std::vector<Case> cases = {
        {"empty file", [](auto& b) { b.clear(); }},
        {"cut in the record", [](auto& b) { b.resize(4000); }},
        {"cut before the triangle count", [&](auto& b) { b.resize(countAt); }},
        {"cut in the triangles", [&](auto& b) { b.resize(countAt + 4 + 50); }},
        {"cut in a frame", [&](auto& b) { b.resize(countAt + 4 + 3 * 36 + 100); }},
        {"no end marker", [](auto& b) { b.resize(b.size() - 264); }},
        {"negative triangle count", [&](auto& b) { io::putI32(b.data() + countAt, -5); }},
        {"triangle count above the limit",
         [&](auto& b) { io::putI32(b.data() + countAt, kMaxObjectTriangles + 1); }},
        {"huge triangle count", [&](auto& b) { io::putI32(b.data() + countAt, 0x7fffffff); }},
        {"effector count 31", [&](auto& b) { io::putI32(b.data() + effectorCountAt, 31); }},
        {"negative effector count", [&](auto& b) { io::putI32(b.data() + effectorCountAt, -1); }},
        {"child count 7", [&](auto& b) { io::putI32(b.data() + childCountAt, 7); }},
    };
    for (const Case& c : cases) {
        auto bytes = good;
        c.damage(bytes);
        const auto path = dir / "damaged.kvm";
        filetest::writeBytes(path, bytes);
        log.shown.clear();
        mesh.faces.clear();
        EXPECT_FALSE(load(path, 1)) << c.what;
        ASSERT_EQ(log.shown.size(), 1u) << c.what;
        EXPECT_EQ(log.shown[0], kOldVersion) << c.what;
        EXPECT_LE(mesh.faces.size(), 3u) << c.what;
    }
}

TEST_F(MotionFileTest, MissingFileIsNotAValidFile) {
    ASSERT_TRUE(store.allocate(2, 10));
    EXPECT_FALSE(load(dir / "absent.kvm", 1));
    ASSERT_EQ(log.shown.size(), 1u);
    EXPECT_EQ(log.shown[0], "A valid file was not selected.");
}

TEST_F(MotionFileTest, NamesWithoutTerminatorAreCutOnRead) {
    ASSERT_TRUE(store.allocate(2, 10));
    auto bytes = filetest::readBytes(save("n.kvm", filetest::sampleObject(), evenFrames(2)));
    std::fill(bytes.begin() + 4 + 16, bytes.begin() + 4 + 16 + 256, 'A');
    filetest::writeBytes(dir / "n.kvm", bytes);
    ASSERT_TRUE(load(dir / "n.kvm", 1));
    EXPECT_EQ(slotRecord.name[255], '\0');
    EXPECT_EQ(slotRecord.name[254], 'A');
}

} // namespace
} // namespace kv::model
