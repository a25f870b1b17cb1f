// ASF/AMC export: the skeleton text, bone ids and hierarchy, the AMC frames
// and their numbering, the unit names, agreement with the BVH channels, and
// what a failed export leaves behind.

#include "app/settings/units.h"
#include "export/asf_export.h"
#include "export/bvh_export.h"
#include "export_fixture.h"

#include <algorithm>
#include <cctype>
#include <map>
#include <string>

namespace kv::exptest {
namespace {

using model::kEffectorBasic;
using model::kEffectorSound;
using model::kEffectorTire;

std::string boneBlock(int id, const std::string& name, bool six) {
    std::string b = "   begin\n      id " + std::to_string(id) + "\n      name " + name +
                    "\n      direction 0.0 1.0 0.0\n      length 0.0\n      axis 0.0 0.0 0.0 xyz\n";
    b += six ? "      dof tx ty tz rx ry rz\n" : "      dof rx ry rz\n";
    b += "      limits (-inf inf)\n";
    for (int i = 1; i < (six ? 6 : 3); ++i)
        b += "             (-inf inf)\n";
    return b + "   end\n";
}

bool isFrameNumber(const std::string& line) {
    return !line.empty() && std::all_of(line.begin(), line.end(), [](char c) {
        return std::isdigit(static_cast<unsigned char>(c));
    });
}

struct AmcFrame {
    int number = 0;
    std::vector<std::string> lines;
};

/// The header lines and the frames of an AMC text.
std::pair<std::vector<std::string>, std::vector<AmcFrame>> parseAmc(const std::string& text) {
    std::vector<std::string> header;
    std::vector<AmcFrame> frames;
    for (const auto& line : splitLines(text)) {
        if (isFrameNumber(line)) {
            frames.push_back({std::stoi(line), {}});
        } else if (frames.empty()) {
            header.push_back(line);
        } else {
            frames.back().lines.push_back(line);
        }
    }
    return {header, frames};
}

class AsfExportTest : public ExportTest {
  protected:
    void exportPair(const model::ObjectRecord& record,
                    const std::vector<model::MotionFrame>& frames) {
        const auto motion = writeMotion(record, frames);
        ASSERT_TRUE(exp::exportAsfAmc(motion, dir / "Run.asf", dir / "Run.amc", "Run", options,
                                      slot(), log));
        asf = readText(dir / "Run.asf");
        amc = readText(dir / "Run.amc");
    }
    std::string asf;
    std::string amc;
};

TEST_F(AsfExportTest, NoEffectorsGivesBonesOneToThreeAndFourLinesPerFrame) {
    exportPair(bareObject(), linearMotion(1.0f));
    const std::string expected = "# ASF file created by Kestrovane.\n"
                                 "# Lengths expressed in feet.\n"
                                 "#\n"
                                 ":version 1.10\n"
                                 ":name Run\n"
                                 ":units\n"
                                 "   mass 1.0\n"
                                 "   length 1.0\n"
                                 "   angle deg\n"
                                 ":documentation\n"
                                 ":root\n"
                                 "   axis xyz\n"
                                 "   order tx ty tz ry rx rz\n"
                                 "   position 0.0 0.0 0.0\n"
                                 "   orientation 0.0 0.0 0.0\n"
                                 ":bonedata\n" +
                                 boneBlock(1, "Run.CG", true) + boneBlock(2, "Run.CG.XRot", false) +
                                 boneBlock(3, "Run.CG.ZRot", false) +
                                 ":hierarchy\n"
                                 "   begin\n"
                                 "      root Run.CG\n"
                                 "      Run.CG Run.CG.XRot\n"
                                 "      Run.CG.XRot Run.CG.ZRot\n"
                                 "   end\n";
    EXPECT_EQ(asf, expected);

    const auto [header, frames] = parseAmc(amc);
    ASSERT_EQ(frames.size(), 30u);
    for (const auto& f : frames) {
        ASSERT_EQ(f.lines.size(), 4u) << f.number;
        EXPECT_EQ(f.lines[0], "root 0.0 0.0 0.0 0.0 0.0 0.0");
        EXPECT_EQ(f.lines[1].rfind("Run.CG ", 0), 0u);
        EXPECT_EQ(f.lines[2].rfind("Run.CG.XRot ", 0), 0u);
        EXPECT_EQ(f.lines[3].rfind("Run.CG.ZRot ", 0), 0u);
    }
}

TEST_F(AsfExportTest, OneSecondAnnouncesThirtyFramesNumberedFromOneTheFirstAtRest) {
    model::ObjectRecord r = bareObject();
    addEffector(r, kEffectorSound, "Horn");
    addEffector(r, kEffectorBasic, "Arm");
    exportPair(r, linearMotion(1.0f));
    const auto [header, frames] = parseAmc(amc);
    EXPECT_EQ(header,
              (std::vector<std::string>{"# AMC file created by Kestrovane.",
                                        "# Lengths expressed in feet.", "# 30 frames per second.",
                                        "# 30 frames.", "#", ":fully-specified", ":degrees"}));
    ASSERT_EQ(frames.size(), 30u);
    for (std::size_t h = 0; h < frames.size(); ++h)
        EXPECT_EQ(frames[h].number, int(h) + 1);
    EXPECT_EQ(frames[0].lines, (std::vector<std::string>{
                                   "root 0.0 0.0 0.0 0.0 0.0 0.0",
                                   "Run.CG 0.0 0.0 0.0 0.0 0.0 0.0",
                                   "Run.CG.XRot 0.0 0.0 0.0",
                                   "Run.CG.ZRot 0.0 0.0 0.0",
                                   "Run.Sound.Horn 0 0 0 0 0 0",
                                   "Run.Arm 0.0 0.0 0.0 0.0 0.0 0.0",
                                   "Run.Arm.XRot 0.0 0.0 0.0",
                                   "Run.Arm.ZRot 0.0 0.0 0.0",
                               }));
    EXPECT_NE(frames[1].lines[1], "Run.CG 0.0 0.0 0.0 0.0 0.0 0.0");
}

TEST_F(AsfExportTest, BoneIdsAreConsecutiveWithChildrenAfterTheirParentsThree) {
    model::ObjectRecord r = bareObject();
    const int a = addEffector(r, kEffectorBasic, "A");
    addEffector(r, kEffectorTire, "B", a);
    const int s = addEffector(r, kEffectorSound, "S");
    addEffector(r, kEffectorBasic, "C", s);
    addEffector(r, kEffectorBasic, "D");
    exportPair(r, linearMotion(0.5f));

    std::map<std::string, int> ids;
    int id = 0;
    for (const auto& line : splitLines(asf)) {
        const auto f = splitFields(line);
        if (f.size() == 2 && f[0] == "id")
            id = std::stoi(f[1]);
        if (f.size() == 2 && f[0] == "name" && id != 0)
            ids[f[1]] = id;
    }
    const std::map<std::string, int> expected = {
        {"Run.CG", 1},      {"Run.CG.XRot", 2},  {"Run.CG.ZRot", 3}, {"Run.A", 4},
        {"Run.A.XRot", 5},  {"Run.A.ZRot", 6},   {"Run.B", 7},       {"Run.B.XRot", 8},
        {"Run.B.ZRot", 9},  {"Run.Sound.S", 10}, {"Run.C", 11},      {"Run.C.XRot", 12},
        {"Run.C.ZRot", 13}, {"Run.D", 14},       {"Run.D.XRot", 15}, {"Run.D.ZRot", 16},
    };
    EXPECT_EQ(ids, expected);
    EXPECT_NE(asf.find("      dof tx ty tz rx ry rz\n      limits (-inf inf)\n"),
              std::string::npos);

    const std::string hierarchy = asf.substr(asf.find(":hierarchy\n"));
    EXPECT_EQ(hierarchy, ":hierarchy\n"
                         "   begin\n"
                         "      root Run.CG\n"
                         "      Run.CG Run.CG.XRot\n"
                         "      Run.CG.XRot Run.CG.ZRot\n"
                         "      Run.CG.ZRot Run.A\n"
                         "      Run.A Run.A.XRot\n"
                         "      Run.A.XRot Run.A.ZRot\n"
                         "      Run.A.ZRot Run.B\n"
                         "      Run.B Run.B.XRot\n"
                         "      Run.B.XRot Run.B.ZRot\n"
                         "      Run.CG.ZRot Run.Sound.S\n"
                         "      Run.Sound.S Run.C\n"
                         "      Run.C Run.C.XRot\n"
                         "      Run.C.XRot Run.C.ZRot\n"
                         "      Run.CG.ZRot Run.D\n"
                         "      Run.D Run.D.XRot\n"
                         "      Run.D.XRot Run.D.ZRot\n"
                         "   end\n");

    // Motion lines follow the same order.
    const auto [header, frames] = parseAmc(amc);
    ASSERT_FALSE(frames.empty());
    std::vector<std::string> names;
    for (const auto& line : frames.back().lines)
        names.push_back(splitFields(line)[0]);
    EXPECT_EQ(names, (std::vector<std::string>{
                         "root", "Run.CG", "Run.CG.XRot", "Run.CG.ZRot", "Run.A", "Run.A.XRot",
                         "Run.A.ZRot", "Run.B", "Run.B.XRot", "Run.B.ZRot", "Run.Sound.S", "Run.C",
                         "Run.C.XRot", "Run.C.ZRot", "Run.D", "Run.D.XRot", "Run.D.ZRot"}));
}

TEST_F(AsfExportTest, MotionLinesCarryTheSameValuesAsTheBvhChannels) {
    model::ObjectRecord r = bareObject();
    const int arm = addEffector(r, kEffectorBasic, "Arm");
    auto& a = r.effectors[static_cast<std::size_t>(arm)];
    a.drivers = {6, 1, 21, 16, 15, 14};
    a.offsets = {1.0f, -2.0f, 0.5f, 3.0f, 4.0f, 90.0f};
    a.scales = {1.0f, 2.0f, -1.0f, 1.0f, 0.5f, 1.0f};
    const int horn = addEffector(r, kEffectorSound, "Horn", arm);
    r.effectors[static_cast<std::size_t>(horn)].drivers = {0, 0, 0, 53, 0, 0};
    r.effectors[static_cast<std::size_t>(horn)].offsets = {0.25f, 0.5f, 0.75f, 0.0f, 1.0f, 2.0f};
    options.feetPerUnit = 0.08333232f;
    options.rightHanded = false;
    const auto motion = writeMotion(r, linearMotion(1.0f));
    ASSERT_TRUE(
        exp::exportAsfAmc(motion, dir / "Run.asf", dir / "Run.amc", "Run", options, slot(), log));
    ASSERT_TRUE(exp::exportBvh(motion, dir / "Run.bvh", "Run", options, slot(), log));

    const auto bvhLines = splitLines(readText(dir / "Run.bvh"));
    const auto firstData =
        std::find_if(bvhLines.begin(), bvhLines.end(),
                     [](const std::string& l) { return l.rfind("Frame Time:", 0) == 0; }) +
        1;
    const auto [header, frames] = parseAmc(readText(dir / "Run.amc"));
    ASSERT_EQ(frames.size(), 30u);
    for (std::size_t h = 1; h < frames.size(); ++h) {
        const auto v = splitFields(*(firstData + static_cast<std::ptrdiff_t>(h)));
        ASSERT_EQ(v.size(), 30u);
        const auto& l = frames[h].lines;
        ASSERT_EQ(l.size(), 8u);
        EXPECT_EQ(l[1], "Run.CG " + v[0] + " " + v[1] + " " + v[2] + " 0.0 " + v[5] + " 0.0");
        EXPECT_EQ(l[2], "Run.CG.XRot " + v[7] + " 0.0 0.0");
        EXPECT_EQ(l[3], "Run.CG.ZRot 0.0 0.0 " + v[9]);
        EXPECT_EQ(l[4], "Run.Arm " + v[12] + " " + v[13] + " " + v[14] + " 0.0 " + v[17] + " 0.0");
        EXPECT_EQ(l[5], "Run.Arm.XRot " + v[19] + " 0.0 0.0");
        EXPECT_EQ(l[6], "Run.Arm.ZRot 0.0 0.0 " + v[21]);
        EXPECT_EQ(l[7], "Run.Sound.Horn " + v[24] + " " + v[25] + " " + v[26] + " " + v[27] + " " +
                            v[28] + " " + v[29]);
    }
}

TEST_F(AsfExportTest, BothFilesNameTheWorkingLengthUnit) {
    const std::pair<float, const char*> units[] = {
        {0.0032808f, "millimeters"},
        {0.032808f, "centimeters"},
        {3.2808f, "meters"},
        {0.08333232f, "inches"},
        {1.0f, "feet"},
        {2.9999635f, "yards"},
    };
    const auto motion = writeMotion(bareObject(), linearMotion(0.2f));
    for (const auto& [factor, name] : units) {
        options.feetPerUnit = factor;
        options.lengthUnitName = std::string(app::unitLongName(factor));
        ASSERT_TRUE(
            exp::exportAsfAmc(motion, dir / "u.asf", dir / "u.amc", "Run", options, slot(), log));
        const std::string line = std::string("# Lengths expressed in ") + name + ".\n";
        EXPECT_NE(readText(dir / "u.asf").find(line), std::string::npos) << name;
        EXPECT_NE(readText(dir / "u.amc").find(line), std::string::npos) << name;
    }
}

TEST_F(AsfExportTest, UnreadableMotionWritesNeitherFile) {
    const auto motion = writeMotion(bareObject(), {});
    EXPECT_FALSE(
        exp::exportAsfAmc(motion, dir / "Run.asf", dir / "Run.amc", "Run", options, slot(), log));
    EXPECT_EQ(log.shown,
              std::vector<std::string>{
                  "The motion file could not be loaded because it contains no motion data."});
    EXPECT_EQ(dir.entries(), std::vector<std::string>{"Run.kvm"});
    EXPECT_EQ(camera.vehicleType, model::kVehicleNone);
    EXPECT_EQ(store.lastFrame(kCameraSlot), -1);
}

TEST_F(AsfExportTest, MotionThatCannotBeWrittenLeavesNoSkeleton) {
    const auto motion = writeMotion(bareObject(), linearMotion(0.5f));
    const auto folder = dir / "locked";
    std::filesystem::create_directory(folder);
    if (!filetest::makeReadOnly(folder))
        GTEST_SKIP() << "folder still accepts files";
    const bool ok =
        exp::exportAsfAmc(motion, dir / "Run.asf", folder / "Run.amc", "Run", options, slot(), log);
    filetest::makeWritable(folder);
    EXPECT_FALSE(ok);
    EXPECT_EQ(log.shown, std::vector<std::string>{"\"Run.amc\" could not be saved."});
    EXPECT_FALSE(std::filesystem::exists(dir / "Run.asf"));
}

} // namespace
} // namespace kv::exptest
