// A save that cannot complete leaves the file that was there untouched, leaves no
// temporary file behind and reports failure.

#include "common/atomic_file.h"
#include "model/motion_file.h"
#include "model/object_file.h"
#include "support/file_test_support.h"
#include "support/motion_test_data.h"

#include <csignal>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>

namespace kv::model {
namespace {

using filetest::MessageLog;
using filetest::ScratchDir;

std::vector<MotionFrame> manyFrames(int n) {
    std::vector<MotionFrame> out;
    for (int i = 0; i < n; ++i)
        out.push_back(filetest::sampleFrame(0.1f * static_cast<float>(i)));
    return out;
}

class SaveSafetyTest : public ::testing::Test {
  protected:
    void SetUp() override {
        old = {'o', 'l', 'd', ' ', 'f', 'i', 'l', 'e'};
        filetest::writeBytes(dir / "take.kvm", old);
    }
    bool saveMotion(int frames) {
        return saveLiveMotion(dir / "take.kvm", filetest::sampleObject(), filetest::sourceOf(tris),
                              manyFrames(frames), log);
    }

    ScratchDir dir;
    MessageLog log;
    std::vector<std::uint8_t> old;
    std::vector<std::array<float, 9>> tris = filetest::sampleTriangles(4);
};

TEST_F(SaveSafetyTest, SuccessfulSaveReplacesTheFileAndKeepsItsMode) {
    ::chmod((dir / "take.kvm").c_str(), 0640);
    ASSERT_TRUE(saveMotion(3));
    EXPECT_TRUE(log.shown.empty());
    EXPECT_EQ(dir.entries(), std::vector<std::string>{"take.kvm"});
    EXPECT_EQ(std::filesystem::file_size(dir / "take.kvm"), 4 + 11940 + 4 + 4 * 36 + 4 * 264u);
    struct stat st {};
    ASSERT_EQ(::stat((dir / "take.kvm").c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0640u);
}

TEST_F(SaveSafetyTest, ReadOnlyFolderLeavesTheOldFile) {
    if (!filetest::makeReadOnly(dir.path())) {
        GTEST_SKIP() << "cannot make a folder read-only here";
    }
    EXPECT_FALSE(saveMotion(3));
    EXPECT_FALSE(
        saveObjectFile(dir / "take.kvm", filetest::sampleObject(), filetest::sourceOf(tris), log));
    filetest::makeWritable(dir.path());
    EXPECT_EQ(filetest::readBytes(dir / "take.kvm"), old);
    EXPECT_EQ(dir.entries(), std::vector<std::string>{"take.kvm"});
    ASSERT_EQ(log.shown.size(), 2u);
    EXPECT_EQ(log.shown[0], "\"take.kvm\" could not be saved.");
}

TEST_F(SaveSafetyTest, DiskFullHalfWayLeavesTheOldFile) {
    // The file-size limit makes the write fail part way with EFBIG, as a
    // full disk fails with ENOSPC.
    std::signal(SIGXFSZ, SIG_IGN);
    rlimit saved{};
    ::getrlimit(RLIMIT_FSIZE, &saved);
    rlimit small = saved;
    small.rlim_cur = 20000;
    ::setrlimit(RLIMIT_FSIZE, &small);
    const bool ok = saveMotion(200);
    ::setrlimit(RLIMIT_FSIZE, &saved);

    EXPECT_FALSE(ok);
    EXPECT_EQ(filetest::readBytes(dir / "take.kvm"), old);
    EXPECT_EQ(dir.entries(), std::vector<std::string>{"take.kvm"});
    EXPECT_EQ(log.shown.size(), 1u);
}

TEST(StreamWriteFailures, WritingToAFullDeviceIsReported) {
    std::FILE* full = std::fopen("/dev/full", "wb");
    if (full == nullptr) {
        GTEST_SKIP() << "no /dev/full";
    }
    const auto tris = filetest::sampleTriangles(2);
    StreamWriter writer(full);
    const bool body =
        writeMotionBody(writer, filetest::sampleObject(), filetest::sourceOf(tris), manyFrames(50));
    EXPECT_FALSE(body && writer.finish());
    std::fclose(full);

    // A small write that fits the stream's buffer fails only at the flush.
    std::FILE* again = std::fopen("/dev/full", "wb");
    ASSERT_NE(again, nullptr);
    std::fputc('x', again);
    EXPECT_FALSE(streamWritten(again));
    std::fclose(again);
}

TEST(StreamWriteFailures, ABodyThatFailsLeavesTheTargetAlone) {
    ScratchDir dir;
    filetest::writeBytes(dir / "keep.bin", {9, 9, 9});
    EXPECT_FALSE(writeFileAtomically(dir / "keep.bin", [](std::FILE* out) {
        std::fputs("partial", out);
        return false;
    }));
    EXPECT_EQ(filetest::readBytes(dir / "keep.bin"), (std::vector<std::uint8_t>{9, 9, 9}));
    EXPECT_EQ(dir.entries(), std::vector<std::string>{"keep.bin"});
    EXPECT_FALSE(writeFileAtomically(dir.path() / "missing-folder" / "x.bin",
                                     [](std::FILE*) { return true; }));
}

} // namespace
} // namespace kv::model
