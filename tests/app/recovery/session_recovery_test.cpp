// Recovery after a crash: the takes written when a run ends and the project
// copy come back in a new program so that Save Motion As and Save Camera As
// write the very bytes they would have written before; a session the user
// declines is kept aside, a clean exit leaves nothing.

#include "app/document/headless_run.h"
#include "app/recovery/session_recovery.h"
#include "support/document_ports.h"
#include "support/fake_ports.h"

#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <sys/wait.h>
#include <unistd.h>

namespace kv::app {
namespace {

namespace fs = std::filesystem;

std::string bytesOf(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

/// Makes this program's session look like one a killed program left: the
/// folder and its session file name a process that has ended.
fs::path pretendOwnerEnded(const SessionRecovery& own) {
    const pid_t child = ::fork();
    if (child == 0)
        ::_exit(0);
    ::waitpid(child, nullptr, 0);
    const std::string pid = std::to_string(child);
    const fs::path moved = own.folder().parent_path() / (kRecoverySessionPrefix + pid);
    fs::rename(own.folder(), moved);
    std::string text = bytesOf(moved / kRecoverySessionFile);
    const std::size_t at = text.find("pid ");
    text.replace(at, text.find('\n', at) - at, "pid " + pid);
    std::ofstream(moved / kRecoverySessionFile, std::ios::binary | std::ios::trunc) << text;
    return moved;
}

/// Drives the document's vehicle for `frames` frames with the stick forward
/// and to the right.
void drive(test::DocumentRig& rig, int frames) {
    test::ScriptedControls controls;
    sim::ControlRecord forward;
    forward.stickY = -0.8f;
    forward.stickX = 0.3f;
    controls.script.assign(static_cast<std::size_t>(frames), forward);
    InputState input;
    HeadlessLimits limits;
    limits.frames = frames;
    runHeadless(*rig.doc, controls, input, limits, rig.messages);
}

class SessionRecoveryTest : public ::testing::Test {
  protected:
    /// Save Motion As and Save Camera As into `motion` and `camera`.
    static void saveTakes(test::DocumentRig& rig, const fs::path& motion, const fs::path& camera) {
        rig.files.answers.push_back(motion.string());
        EXPECT_EQ(rig.doc->saveMotionAs(), 1);
        rig.files.answers.push_back(camera.string());
        EXPECT_TRUE(rig.doc->saveCameraAs());
    }

    filetest::ScratchDir dir_;
    fs::path root_ = dir_ / "recovery";
};

TEST_F(SessionRecoveryTest, RecoveredTakesSaveAsTheyWouldHaveBeforeTheCrash) {
    fs::path left;
    {
        test::DocumentRig first;
        // A project changed and never saved: only the copy can bring it back.
        first.doc->object(0).initial.position = {12.0f, -4.0f, -1.5f};
        first.doc->object(0).initial.attitude = {0.0f, 0.0f, 30.0f};
        first.doc->setModified(true);
        first.doc->resetSimulation();
        drive(first, 36);
        saveTakes(first, dir_ / "before.kvm", dir_ / "before-camera.kvm");
        SessionRecovery own(root_);
        ASSERT_TRUE(own.writeTakes(*first.doc, first.messages));
        ASSERT_TRUE(own.writeProject(*first.doc, first.messages));
        // Nothing to offer while the program that wrote it still runs.
        EXPECT_TRUE(sessionsLeftBehind(root_).empty());
        left = pretendOwnerEnded(own);
    }

    const std::vector<RecoverySession> sessions = sessionsLeftBehind(root_);
    ASSERT_EQ(sessions.size(), 1u);
    EXPECT_EQ(sessions[0].folder, left);
    EXPECT_EQ(sessions[0].takes, 2);
    EXPECT_TRUE(sessions[0].hasProjectCopy);
    EXPECT_FALSE(sessions[0].projectFile.has_value());

    test::DocumentRig second;
    const std::string name = second.doc->projectName();
    ASSERT_TRUE(recoverSession(sessions[0], *second.doc, second.messages))
        << (second.messages.shown.empty() ? "" : second.messages.shown.front());
    EXPECT_TRUE(second.doc->modified());
    EXPECT_FALSE(second.doc->hasFile());
    EXPECT_EQ(second.doc->projectName(), name);
    EXPECT_EQ(second.doc->object(0).initial.position[0], 12.0f);
    saveTakes(second, dir_ / "after.kvm", dir_ / "after-camera.kvm");
    EXPECT_EQ(bytesOf(dir_ / "after.kvm"), bytesOf(dir_ / "before.kvm"));
    EXPECT_EQ(bytesOf(dir_ / "after-camera.kvm"), bytesOf(dir_ / "before-camera.kvm"));
    EXPECT_GT(bytesOf(dir_ / "after.kvm").size(), 36u * 264u);
}

TEST_F(SessionRecoveryTest, ASavedProjectIsNamedNotCopiedAndEachRunReplacesTheTakes) {
    test::DocumentRig rig;
    rig.files.answers.push_back((dir_ / "scene.kvp").string());
    ASSERT_TRUE(rig.doc->saveProject(true));
    SessionRecovery own(root_);
    drive(rig, 12);
    ASSERT_TRUE(own.writeTakes(*rig.doc, rig.messages));
    ASSERT_TRUE(own.writeProject(*rig.doc, rig.messages));
    EXPECT_FALSE(fs::exists(own.folder() / kRecoveryProjectFile)) << "an unmodified saved project";
    const std::string firstTake = bytesOf(own.folder() / recoveryMotionFileName(0));
    drive(rig, 20);
    ASSERT_TRUE(own.writeTakes(*rig.doc, rig.messages));
    EXPECT_NE(bytesOf(own.folder() / recoveryMotionFileName(0)), firstTake);

    const fs::path left = pretendOwnerEnded(own);
    auto sessions = sessionsLeftBehind(root_);
    ASSERT_EQ(sessions.size(), 1u);
    EXPECT_EQ(sessions[0].projectFile, std::optional<fs::path>(dir_ / "scene.kvp"));
    EXPECT_FALSE(sessions[0].hasProjectCopy);

    // Declined: moved aside, offered no more, and nothing deleted.
    ASSERT_TRUE(setSessionAside(sessions[0]));
    EXPECT_TRUE(sessionsLeftBehind(root_).empty());
    EXPECT_FALSE(fs::exists(left));
    const fs::path aside = root_ / (kRecoveryDeclinedPrefix + left.filename().string());
    EXPECT_TRUE(fs::exists(aside / recoveryMotionFileName(0)));
    EXPECT_TRUE(fs::exists(aside / kRecoveryCameraFile));
}

TEST_F(SessionRecoveryTest, NothingToRecoverLeavesNoFolder) {
    test::DocumentRig rig;
    SessionRecovery own(root_);
    // Stopped before any run, with the project as it was opened.
    ASSERT_TRUE(own.writeProject(*rig.doc, rig.messages));
    EXPECT_FALSE(fs::exists(own.folder()));
    // A folder left by an ended program with only its session file goes too.
    rig.doc->setModified(true);
    ASSERT_TRUE(own.writeProject(*rig.doc, rig.messages));
    fs::remove(own.folder() / kRecoveryProjectFile);
    const fs::path left = pretendOwnerEnded(own);
    EXPECT_TRUE(sessionsLeftBehind(root_).empty());
    EXPECT_FALSE(fs::exists(left));
}

TEST_F(SessionRecoveryTest, ACleanExitLeavesNothing) {
    test::DocumentRig rig;
    SessionRecovery own(root_);
    drive(rig, 6);
    ASSERT_TRUE(own.writeTakes(*rig.doc, rig.messages));
    own.clear();
    EXPECT_FALSE(fs::exists(own.folder()));
    EXPECT_TRUE(sessionsLeftBehind(root_).empty());
    EXPECT_TRUE(sessionsLeftBehind(dir_ / "never-made").empty());
}

} // namespace
} // namespace kv::app
