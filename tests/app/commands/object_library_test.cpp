#include "app/commands/object_library.h"
#include "app/document/document.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <random>

namespace kv::app {
namespace {

TEST(DocumentMessages, Texts) {
    EXPECT_EQ(notKestrovaneFileMessage("/tmp/a.txt"),
              "\"/tmp/a.txt\" is not a valid Kestrovane file.");
    EXPECT_STREQ(Document::kSaveFirstFormat, "Would you like to save changes to \"%s\" first?");
    EXPECT_STREQ(Document::kMemorySaveFirstFormat,
                 "To adjust the memory settings, Kestrovane must be reset. Would you like to save "
                 "\"%s\" first?");
}

class ObjectLibraryTest : public ::testing::Test {
  protected:
    void SetUp() override {
        std::random_device rd;
        dir_ = std::filesystem::temp_directory_path() /
               ("kv_objlib_" + std::to_string(rd()) + std::to_string(rd()));
        std::filesystem::create_directories(dir_ / "Objects");
    }
    void TearDown() override { std::filesystem::remove_all(dir_); }
    void touch(const std::string& name) { std::ofstream(dir_ / "Objects" / name) << "x"; }
    std::filesystem::path dir_;
};

TEST_F(ObjectLibraryTest, ListsObjectFilesSortedWithTheirMenuText) {
    touch("zeta.kvo");
    touch("Alpha.kvo");
    touch("truck.v2.KVO");
    touch("readme.txt");
    touch("motion.kvm");
    std::filesystem::create_directory(dir_ / "Objects" / "folder.kvo");
    const auto entries = listObjectLibrary(dir_);
    ASSERT_EQ(entries.size(), 3u);
    EXPECT_EQ(entries[0].menuText, "Alpha");
    EXPECT_EQ(entries[1].menuText, "truck");
    EXPECT_EQ(entries[2].menuText, "zeta");
    EXPECT_EQ(entries[2].path, dir_ / "Objects" / "zeta.kvo");
}

TEST_F(ObjectLibraryTest, TheTwentyFirstFileGetsNoEntry) {
    for (int i = 0; i < 21; ++i)
        touch("obj" + std::string(i < 10 ? "0" : "") + std::to_string(i) + ".kvo");
    const auto entries = listObjectLibrary(dir_);
    ASSERT_EQ(entries.size(), 20u);
    EXPECT_EQ(entries.front().menuText, "obj00");
    EXPECT_EQ(entries.back().menuText, "obj19");
}

TEST(ObjectLibrary, MissingFolderGivesEmptyLibrary) {
    EXPECT_TRUE(listObjectLibrary("/nonexistent/kestrovane/data").empty());
}

} // namespace
} // namespace kv::app
