// UTF-8 file names: the text the program holds names the same file on disk,
// and the same text comes back for messages, whatever characters it has.
#include "common/file_names.h"

#include <cstdio>
#include <filesystem>
#include <gtest/gtest.h>
#include <string>
#include <unistd.h>
#include <vector>

namespace kv {
namespace {

namespace fs = std::filesystem;

class FileNames : public ::testing::Test {
  protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() / ("kv-file-names-" + std::to_string(::getpid()));
        fs::create_directories(dir_);
    }
    void TearDown() override { fs::remove_all(dir_); }
    fs::path dir_;
};

TEST_F(FileNames, NamesOutsideAsciiOpenWriteAndComeBackUnchanged) {
    for (const std::string name : {"Straße.kvm", "東京の車.kvm", "plain.kvm", "a b (1).kvm"}) {
        const fs::path file = dir_ / pathFromUtf8(name);
        EXPECT_EQ(utf8Name(file.filename()), name);
        std::FILE* out = openFile(file, "wb");
        ASSERT_NE(out, nullptr) << name;
        std::fputs(name.c_str(), out);
        std::fclose(out);
        // The directory lists the same UTF-8 name, and reading finds the bytes.
        EXPECT_TRUE(fs::exists(dir_ / pathFromUtf8(name))) << name;
        std::FILE* in = openFile(dir_ / pathFromUtf8(name), "rb");
        ASSERT_NE(in, nullptr) << name;
        std::string back(name.size(), '\0');
        EXPECT_EQ(std::fread(back.data(), 1, back.size(), in), name.size());
        std::fclose(in);
        EXPECT_EQ(back, name);
    }
    EXPECT_EQ(openFile(dir_ / pathFromUtf8("missing.kvm"), "rb"), nullptr);
}

TEST(FileNamesArguments, AreTheProgramsArgumentsAfterItsName) {
    std::vector<std::string> text{"kestrovane-cli", "info", "Straße.kvm"};
    std::vector<char*> argv;
    for (std::string& s : text)
        argv.push_back(s.data());
    EXPECT_EQ(utf8Arguments(static_cast<int>(argv.size()), argv.data()),
              (std::vector<std::string>{"info", "Straße.kvm"}));
    EXPECT_TRUE(utf8Arguments(1, argv.data()).empty());
}

} // namespace
} // namespace kv
