// Object and motion saves over a disk that fills after every possible number
// of bytes: the previous file stays byte for byte and the failure is shown.

#include "model/motion_file.h"
#include "model/motion_store.h"
#include "model/object_file.h"
#include "support/file_test_support.h"
#include "support/motion_test_data.h"
#include "support/write_faults.h"

#include <gtest/gtest.h>

namespace kv::model {
namespace {

using filetest::MessageLog;
using filetest::ScratchDir;

class SaveFaultTest : public ::testing::Test {
  protected:
    ScratchDir dir;
    MessageLog log;
    std::vector<std::array<float, 9>> tris = filetest::sampleTriangles(3);
};

TEST_F(SaveFaultTest, ObjectSave) {
    filetest::writeBytes(dir / "car.kvo", {'o', 'l', 'd'});
    EXPECT_TRUE(filetest::saveSurvivesEveryCut(
        dir.path(),
        [&] {
            return saveObjectFile(dir / "car.kvo", filetest::sampleObject(),
                                  filetest::sourceOf(tris), log);
        },
        &log));
}

TEST_F(SaveFaultTest, LiveMotionSave) {
    filetest::writeBytes(dir / "take.kvm", {'o', 'l', 'd'});
    const std::vector<MotionFrame> frames{filetest::sampleFrame(0.0f), filetest::sampleFrame(0.1f)};
    EXPECT_TRUE(filetest::saveSurvivesEveryCut(
        dir.path(),
        [&] {
            return saveLiveMotion(dir / "take.kvm", filetest::sampleObject(),
                                  filetest::sourceOf(tris), frames, log);
        },
        &log));
}

TEST_F(SaveFaultTest, ANewFileCutShortLeavesNoFile) {
    EXPECT_TRUE(filetest::saveSurvivesEveryCut(
        dir.path(),
        [&] {
            return saveObjectFile(dir / "new.kvo", filetest::sampleObject(),
                                  filetest::sourceOf(tris), log);
        },
        &log));
    EXPECT_TRUE(dir.entries().empty());
}

} // namespace
} // namespace kv::model
