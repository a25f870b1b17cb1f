#include "geometry/terrain.h"
#include "support/fake_ports.h"
#include "support/terrain_test_faces.h"
#include "support/terrain_test_ports.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>

namespace kv::geom {
namespace {

namespace fs = std::filesystem;

TEST(TerrainWorkingFolder, EachProgramGetsItsOwnOwnerOnlyFolder) {
    auto a = PrivateWorkingFolder::create();
    auto b = PrivateWorkingFolder::create();
    ASSERT_NE(a, nullptr);
    ASSERT_NE(b, nullptr);
    EXPECT_NE(a->folder(), b->folder());
    EXPECT_TRUE(fs::is_directory(a->folder()));
    EXPECT_EQ(a->folder().parent_path(), fs::temp_directory_path());
    const auto perms = fs::status(a->folder()).permissions();
    EXPECT_EQ(perms & (fs::perms::group_all | fs::perms::others_all), fs::perms::none);

    // The same fixed file names in both folders never meet.
    test::ScriptedProgress progress;
    test::RecordingMessages messages;
    TerrainStore ta(*a, 2), tb(*b, 2);
    ASSERT_TRUE(ta.beginImport({}, "a.dxf", progress, messages));
    ta.intakeFace(test::squareFace(0, 0, 1, 1, -1), 1.0f, progress, messages);
    ASSERT_TRUE(ta.finishImport(true, progress, messages));
    ASSERT_TRUE(tb.beginImport({}, "b.dxf", progress, messages));
    tb.intakeFace(test::squareFace(0, 0, 1, 1, -5), 1.0f, progress, messages);
    ASSERT_TRUE(tb.finishImport(true, progress, messages));
    EXPECT_EQ(ta.workingFile().filename(), "terrain");
    EXPECT_NE(ta.workingFile(), tb.workingFile());
    EXPECT_DOUBLE_EQ(ta.grid().height(0, 0), -1 * kFeetPerMetreD);
    EXPECT_DOUBLE_EQ(tb.grid().height(0, 0), -5 * kFeetPerMetreD);
}

TEST(TerrainWorkingFolder, FolderAndEverythingInItGoWithItsOwner) {
    fs::path where;
    {
        auto folder = PrivateWorkingFolder::create();
        ASSERT_NE(folder, nullptr);
        where = folder->folder();
        std::ofstream(where / "terrain") << "x";
        fs::create_directory(where / "nested");
        std::ofstream(where / "nested" / "scene0") << "y";
    }
    EXPECT_FALSE(fs::exists(where));
}

TEST(TerrainWorkingFolder, ParentThatCannotHoldFoldersGivesNone) {
    EXPECT_EQ(PrivateWorkingFolder::create("/nonexistent/kestrovane/parent"), nullptr);
    auto parent = PrivateWorkingFolder::create();
    ASSERT_NE(parent, nullptr);
    auto child = PrivateWorkingFolder::create(parent->folder());
    ASSERT_NE(child, nullptr);
    EXPECT_EQ(child->folder().parent_path(), parent->folder());
}

} // namespace
} // namespace kv::geom
