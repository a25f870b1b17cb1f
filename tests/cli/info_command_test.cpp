#include "cli/cli_run.h"
#include "common/le_io.h"
#include "model/motion_file.h"
#include "model/object_file.h"
#include "model/object_file_convert.h"
#include "model/object_model.h"
#include "support/document_ports.h"
#include "support/file_test_support.h"
#include "support/motion_test_data.h"
#include "support/previous_project.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace kv::clitest {
namespace {

namespace fs = std::filesystem;

constexpr const char* kGolfFields =
    "\"name\": \"Golf\", \"vehicleType\": \"car\", \"role\": \"dynamic\", \"effectors\": "
    "[{\"name\": \"Front Left\", \"kind\": \"tire\"}, {\"name\": \"Hub\", \"kind\": \"basic\"}], "
    "\"triangles\": 3";

class InfoCommandTest : public ::testing::Test {
  protected:
    fs::path writeObject(const std::string& name, const model::ObjectRecord& record) {
        const auto triangles = filetest::sampleTriangles(3);
        const fs::path file = dir_ / name;
        EXPECT_TRUE(model::saveObjectFile(file, record, filetest::sourceOf(triangles), log_));
        return file;
    }
    fs::path writeMotion(const std::string& name, int frames) {
        const auto triangles = filetest::sampleTriangles(3);
        std::vector<model::MotionFrame> list;
        for (int i = 1; i <= frames; ++i)
            list.push_back(filetest::sampleFrame(0.25f * static_cast<float>(i)));
        const fs::path file = dir_ / name;
        EXPECT_TRUE(model::saveLiveMotion(file, filetest::sampleObject(),
                                          filetest::sourceOf(triangles), list, log_));
        return file;
    }

    filetest::ScratchDir dir_;
    filetest::MessageLog log_;
};

TEST_F(InfoCommandTest, DescribesAnObjectFile) {
    const fs::path file = writeObject("golf.kvo", filetest::sampleObject());
    const CliResult r = runCli({"info", file.string()});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out, std::string("{\"kind\": \"object\", ") + kGolfFields + "}\n");
    EXPECT_EQ(r.err, "");
}

TEST_F(InfoCommandTest, DescribesAMotionFileWithItsFramesAndDuration) {
    const CliResult r = runCli({"info", writeMotion("take.KVM", 5).string()});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out, std::string("{\"kind\": \"motion\", ") + kGolfFields +
                         ", \"frames\": 5, \"duration\": 1.25}\n");

    const CliResult empty = runCli({"info", writeMotion("empty.kvm", 0).string()});
    ASSERT_EQ(empty.exitCode, 0) << empty.err;
    EXPECT_NE(empty.out.find("\"frames\": 0, \"duration\": 0}"), std::string::npos) << empty.out;
}

TEST_F(InfoCommandTest, DescribesATemplateWrittenByTheTool) {
    const fs::path file = dir_ / "heli.kvo";
    ASSERT_EQ(runCli({"template", "helicopter", "-o", file.string()}).exitCode, 0);
    const CliResult r = runCli({"info", file.string()});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out.rfind("{\"kind\": \"object\", ", 0), 0u) << r.out;
    EXPECT_NE(r.out.find("\"vehicleType\": \"helicopter\", \"role\": \"interactive\""),
              std::string::npos)
        << r.out;
    EXPECT_NE(r.out.find("\"kind\": \"blade\""), std::string::npos) << r.out;
}

TEST_F(InfoCommandTest, NamesAreEscapedAsValidJsonStrings) {
    model::ObjectRecord record = filetest::sampleObject();
    // A quote, a backslash, a line break, a tab, a valid UTF-8 letter and a
    // lone single-byte letter (0xE9) of an older file.
    model::setRecordName(record.name, "A \"B\"\\C\nD\tE \xC3\xA9 \xE9");
    const CliResult r = runCli({"info", writeObject("odd.kvo", record).string()});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_NE(r.out.find("\"name\": \"A \\\"B\\\"\\\\C\\u000aD\\u0009E \xC3\xA9 \xC3\xA9\""),
              std::string::npos)
        << r.out;
}

TEST_F(InfoCommandTest, DescribesADxfFileWithFacesTrianglesAndBounds) {
    const fs::path file = dir_ / "ground.dxf";
    writeAll(file, dxfText({
                       {0, 0, 0, 10, 0, 0, 10, 5, 0, 0, 5, 0},   // two triangles
                       {0, 0, -1, 1, 0, -1, 1, 2, -3, 1, 2, -3}, // one triangle
                       {4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4},     // degenerate: none
                   }));
    const CliResult r = runCli({"info", file.string()});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out, "{\"kind\": \"dxf\", \"faces\": 3, \"triangles\": 3, \"bounds\": "
                     "{\"min\": [0, 0, -3], \"max\": [10, 5, 0]}}\n");
}

TEST_F(InfoCommandTest, APreviousVersionObjectIsDescribedWithoutRewritingIt) {
    // Size word, a record image with only the vehicle type set, two triangles
    // and the end marker frame of the previous layout.
    std::string bytes(4 + model::kPreviousObjectRecordSize + 4 + 2 * 36 + model::kPreviousFrameSize,
                      '\0');
    auto* p = reinterpret_cast<std::uint8_t*>(bytes.data());
    io::putI32(p, model::kPreviousObjectRecordTag);
    io::putI32(p + 4 + 4, model::kVehicleAircraft);
    io::putI32(p + 4 + model::kPreviousObjectRecordSize, 2);
    for (std::size_t i = 0; i < 18; ++i)
        io::putF32(p + 4 + model::kPreviousObjectRecordSize + 4 + 4 * i, static_cast<float>(i));
    io::putF32(p + bytes.size() - model::kPreviousFrameSize, model::kFrameEndMarker);
    const fs::path file = dir_ / "old.kvo";
    writeAll(file, bytes);

    const CliResult r = runCli({"info", file.string()});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_NE(r.out.find("\"vehicleType\": \"aircraft\""), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("\"effectors\": [], \"triangles\": 2}"), std::string::npos) << r.out;
    EXPECT_EQ(readAll(file), bytes);
    EXPECT_EQ(dir_.entries(), std::vector<std::string>{"old.kvo"});
}

TEST_F(InfoCommandTest, APreviousVersionProjectIsDescribedConvertedWithoutRewritingIt) {
    const std::vector<std::uint8_t> original = test::farm().bytes();
    const fs::path file = dir_ / "farm.kvp";
    filetest::writeBytes(file, original);

    const CliResult r = runCli({"info", file.string()});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_NE(r.out.find("\"name\": \"golf\""), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("\"name\": \"barn\""), std::string::npos) << r.out;
    EXPECT_EQ(filetest::readBytes(file), original);
    EXPECT_EQ(dir_.entries(), std::vector<std::string>{"farm.kvp"});
}

TEST_F(InfoCommandTest, AMotionLongerThanARecordingCanHoldIsNotMiscounted) {
    const CliResult r = runCli({"info", writeMotion("long.kvm", 18010).string()});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.out, "");
    EXPECT_NE(r.err, "");
}

TEST_F(InfoCommandTest, DescribesAProjectWithItsObjectsScenerySetsAndTerrain) {
    const fs::path ground = dir_ / "ground.dxf";
    writeAll(ground, dxfText({{0, 0, 0, 10, 0, 0, 10, 10, 0, 0, 10, 0},
                              {10, 0, 0, 20, 0, 0, 20, 10, 0, 10, 10, 0}}));
    const fs::path hut = dir_ / "hut.dxf";
    writeAll(hut, dxfText({{0, 0, 0, 1, 0, 0, 1, 1, -1, 0, 1, -1}}));
    const fs::path take = writeMotion("take.kvm", 4);
    const fs::path project = dir_ / "scene.kvp";
    {
        test::DocumentRig rig;
        app::Document& doc = *rig.doc;
        ASSERT_TRUE(doc.addMotionObject(model::kRoleDynamic, take));
        ASSERT_TRUE(doc.addScenery(app::DxfImport{hut}));
        ASSERT_TRUE(doc.addTerrain(app::DxfImport{ground}));
        rig.files.answers.push_back(project.string());
        ASSERT_TRUE(doc.saveProject(true));
    }
    const CliResult r = runCli({"info", project.string()});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(r.out.rfind("{\"kind\": \"project\", \"name\": \"scene\", \"objects\": [", 0), 0u)
        << r.out;
    // The simulated car without frames, then the added motion with its own.
    EXPECT_NE(r.out.find("\"vehicleType\": \"car\", \"role\": \"interactive\""), std::string::npos)
        << r.out;
    // An added motion takes its file's name.
    EXPECT_NE(r.out.find("{\"kind\": \"object\", \"name\": \"take\", \"vehicleType\": \"car\", "
                         "\"role\": \"dynamic\", \"effectors\": [{\"name\": \"Front Left\", "
                         "\"kind\": \"tire\"}, {\"name\": \"Hub\", \"kind\": \"basic\"}], "
                         "\"triangles\": 3, \"frames\": 4, \"duration\": 1}"),
              std::string::npos)
        << r.out;
    EXPECT_NE(r.out.find("\"scenery\": [{\"name\": \"hut.dxf\", \"triangles\": 2}], "
                         "\"terrain\": {\"name\": \"ground.dxf\", \"triangles\": 4}}\n"),
              std::string::npos)
        << r.out;
}

TEST_F(InfoCommandTest, AProjectWithoutSceneryOrTerrainSaysSo) {
    const fs::path project = dir_ / "empty.kvp";
    {
        test::DocumentRig rig;
        rig.files.answers.push_back(project.string());
        ASSERT_TRUE(rig.doc->saveProject(true));
    }
    const CliResult r = runCli({"info", project.string()});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_NE(r.out.find("\"frames\": 0, \"duration\": 0}], \"scenery\": [], \"terrain\": null}"),
              std::string::npos)
        << r.out;
}

TEST_F(InfoCommandTest, MissingDamagedOrUnknownFilesFailWithAMessage) {
    const std::string golf = readAll(writeObject("golf.kvo", filetest::sampleObject()));
    const std::string take = readAll(writeMotion("take.kvm", 4));
    writeAll(dir_ / "cut.kvo", golf.substr(0, golf.size() / 2));
    writeAll(dir_ / "cut.kvm", take.substr(0, take.size() - 100));
    writeAll(dir_ / "noise.kvo", std::string(64, '\x7f'));
    writeAll(dir_ / "tiny.kvm", "ab");
    writeAll(dir_ / "empty.dxf", "  0\nSECTION\n  2\nENTITIES\n  0\nENDSEC\n  0\nEOF\n");
    writeAll(dir_ / "notes.txt", "hello");
    writeAll(dir_ / "noise.kvp", "anything");
    for (const char* name :
         {"missing.kvo", "missing.kvm", "missing.dxf", "missing.kvp", "cut.kvo", "cut.kvm",
          "noise.kvo", "tiny.kvm", "empty.dxf", "noise.kvp", "notes.txt"}) {
        SCOPED_TRACE(name);
        const CliResult r = runCli({"info", (dir_ / name).string()});
        EXPECT_EQ(r.exitCode, 1);
        EXPECT_EQ(r.out, "");
        EXPECT_NE(r.err, "");
    }
}

TEST_F(InfoCommandTest, BadUsageExitsWithTwoAndHelpWithZero) {
    const fs::path file = writeObject("golf.kvo", filetest::sampleObject());
    for (const auto& args : std::vector<std::vector<std::string>>{
             {"info"}, {"info", "--json", file.string()}, {"info", file.string(), file.string()}}) {
        const CliResult r = runCli(args);
        EXPECT_EQ(r.exitCode, 2);
        EXPECT_EQ(r.out, "");
        EXPECT_NE(r.err.find("usage: kestrovane-cli info"), std::string::npos);
    }
    const CliResult help = runCli({"info", "--help"});
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_NE(help.out.find("usage: kestrovane-cli info"), std::string::npos);
}

} // namespace
} // namespace kv::clitest
