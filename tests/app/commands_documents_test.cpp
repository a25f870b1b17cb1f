#include "app/commands_documents.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <random>

namespace kv::app {
namespace {

TEST(DocumentType, ByExtensionAfterTheFirstDot) {
    struct Case {
        const char* path;
        DocumentType type;
    };
    const Case cases[] = {
        {"/home/u/run.kvp", DocumentType::Project},
        {"/home/u/RUN.KVP", DocumentType::Project},
        {"take1.kvm", DocumentType::Motion},
        {"car.Kvo", DocumentType::Object},
        {"C:\\Data\\car.kvo", DocumentType::Object},
        {"/home/u/notes.txt", DocumentType::None},
        {"/home/u/noextension", DocumentType::None},
        {"take.1.kvm", DocumentType::None}, // the extension is ".1.kvm"
        {"/home/my.folder/car.kvo", DocumentType::Object},
        {"/home/my.folder/car", DocumentType::None},
        {"", DocumentType::None},
    };
    for (const Case& c : cases)
        EXPECT_EQ(documentTypeForPath(c.path), c.type) << c.path;
}

TEST(DocumentMessages, Texts) {
    EXPECT_EQ(notValidFileMessage("/tmp/a.txt"), "\"/tmp/a.txt\" is not a valid Kestrovane file.");
    EXPECT_EQ(saveChangesFirstMessage("Project"),
              "Would you like to save changes to \"Project\" first?");
    EXPECT_EQ(memorySaveFirstMessage("Race"),
              "To adjust the memory settings, Kestrovane must be reset. Would you like to save "
              "\"Race\" first?");
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
