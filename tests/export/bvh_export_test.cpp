// BVH export: hierarchy and channel layout, resampling, the rest frame, the
// axis mapping under both coordinate preferences, and what a failed export
// leaves behind.

#include "export/axis_mapping.h"
#include "export/bvh_export.h"
#include "export/effector_values.h"
#include "export_fixture.h"
#include "model/object_model.h"

#include <algorithm>
#include <string>

namespace kv::exptest {
namespace {

using model::kEffectorBasic;
using model::kEffectorSound;
using model::kEffectorTire;

constexpr const char* kCgHierarchy = "HIERARCHY\n"
                                     "ROOT Run.CG\n"
                                     "{\n"
                                     "\tOFFSET\t0.0\t0.0\t0.0\n"
                                     "\tCHANNELS 6 Xposition Yposition Zposition Zrotation "
                                     "Xrotation Yrotation\n"
                                     "\tROOT Run.CG.XRot\n"
                                     "\t{\n"
                                     "\t\tOFFSET\t0.0\t0.0\t0.0\n"
                                     "\t\tCHANNELS 3 Zrotation Xrotation Yrotation\n"
                                     "\t\tROOT Run.CG.ZRot\n"
                                     "\t\t{\n"
                                     "\t\t\tOFFSET\t0.0\t0.0\t0.0\n"
                                     "\t\t\tCHANNELS 3 Zrotation Xrotation Yrotation\n";

constexpr const char* kCgClose = "\t\t}\n"
                                 "\t}\n"
                                 "}\n";

class BvhExportTest : public ExportTest {
  protected:
    /// Exports `record` with `frames` and returns the text written.
    std::string exportText(const model::ObjectRecord& record,
                           const std::vector<model::MotionFrame>& frames,
                           std::string_view out = "Run.bvh") {
        const auto motion = writeMotion(record, frames);
        EXPECT_TRUE(exp::exportBvh(motion, dir / out, "Run", options, slot(), log));
        return readText(dir / out);
    }

    /// The data lines after the "Frame Time:" line, without the closing blank line.
    static std::vector<std::string> dataLines(const std::string& text) {
        const auto lines = splitLines(text);
        auto it = std::find_if(lines.begin(), lines.end(),
                               [](const std::string& l) { return l.rfind("Frame Time:", 0) == 0; });
        std::vector<std::string> data(it == lines.end() ? lines.end() : it + 1, lines.end());
        if (!data.empty() && data.back().empty())
            data.pop_back();
        return data;
    }

    /// Values of data line `m` as numbers.
    static std::vector<double> values(const std::string& line) {
        std::vector<double> out;
        for (const auto& f : splitFields(line))
            out.push_back(std::stod(f));
        return out;
    }
};

TEST_F(BvhExportTest, TwoSecondsGiveSixtyFramesTheFirstAllZeros) {
    const std::string text = exportText(bareObject(), linearMotion(2.0f));
    EXPECT_NE(text.find("MOTION\nFrames:\t60\nFrame Time:\t0.0333333\n"), std::string::npos);
    const auto data = dataLines(text);
    ASSERT_EQ(data.size(), 60u);
    std::string zeros;
    for (int c = 0; c < 12; ++c)
        zeros += "0.0\t";
    EXPECT_EQ(data[0], zeros);
    EXPECT_NE(data[1], zeros);
    // Every line ends in a tab before its newline; a blank line closes the file.
    ASSERT_GE(text.size(), 3u);
    EXPECT_EQ(text.substr(text.size() - 3), "\t\n\n");
    EXPECT_TRUE(log.shown.empty());
}

TEST_F(BvhExportTest, NoEffectorsGivesTheCentreOfGravityChainAndTwelveChannels) {
    const std::string text = exportText(bareObject(), linearMotion(1.0f));
    EXPECT_EQ(text.substr(0, text.find("MOTION")), std::string(kCgHierarchy) + kCgClose);
    const auto data = dataLines(text);
    ASSERT_EQ(data.size(), 30u);
    for (const auto& line : data) {
        EXPECT_EQ(splitFields(line).size(), 12u) << line;
        EXPECT_EQ(std::count(line.begin(), line.end(), '\t'), 12);
    }
}

TEST_F(BvhExportTest, SoundEffectorNestsItsChildOneLevelDeeper) {
    model::ObjectRecord r = bareObject();
    const int horn = addEffector(r, kEffectorSound, "Horn");
    addEffector(r, kEffectorBasic, "Lamp", horn);
    const std::string text = exportText(r, linearMotion(1.0f));

    const std::string expected =
        std::string(kCgHierarchy) +
        "\t\t\tROOT Run.Sound.Horn\n"
        "\t\t\t{\n"
        "\t\t\t\tOFFSET\t0.0\t0.0\t0.0\n"
        "\t\t\t\tCHANNELS 6 Xposition Yposition Zposition Xrotation Yrotation Zrotation\n"
        "\t\t\t\tROOT Run.Lamp\n"
        "\t\t\t\t{\n"
        "\t\t\t\t\tOFFSET\t0.0\t0.0\t0.0\n"
        "\t\t\t\t\tCHANNELS 6 Xposition Yposition Zposition Zrotation Xrotation Yrotation\n"
        "\t\t\t\t\tROOT Run.Lamp.XRot\n"
        "\t\t\t\t\t{\n"
        "\t\t\t\t\t\tOFFSET\t0.0\t0.0\t0.0\n"
        "\t\t\t\t\t\tCHANNELS 3 Zrotation Xrotation Yrotation\n"
        "\t\t\t\t\t\tROOT Run.Lamp.ZRot\n"
        "\t\t\t\t\t\t{\n"
        "\t\t\t\t\t\t\tOFFSET\t0.0\t0.0\t0.0\n"
        "\t\t\t\t\t\t\tCHANNELS 3 Zrotation Xrotation Yrotation\n"
        "\t\t\t\t\t\t}\n"
        "\t\t\t\t\t}\n"
        "\t\t\t\t}\n"
        "\t\t\t}\n" +
        kCgClose;
    EXPECT_EQ(text.substr(0, text.find("MOTION")), expected);
    for (const auto& line : dataLines(text)) {
        EXPECT_EQ(splitFields(line).size(), 12u + 6u + 12u);
    }
}

TEST_F(BvhExportTest, ChildrenOfOtherEffectorsSitThreeLevelsDeeperInTreeOrder) {
    model::ObjectRecord r = bareObject();
    const int pivot = addEffector(r, kEffectorBasic, "Pivot");
    addEffector(r, kEffectorBasic, "Other");
    addEffector(r, kEffectorTire, "Wheel", pivot);
    const std::string text = exportText(r, linearMotion(0.5f));
    const auto lines = splitLines(text);
    std::vector<std::string> roots;
    for (const auto& l : lines) {
        if (l.find("ROOT ") != std::string::npos && l.find("Rot") == std::string::npos)
            roots.push_back(l);
    }
    EXPECT_EQ(roots,
              (std::vector<std::string>{"ROOT Run.CG", "\t\t\tROOT Run.Pivot",
                                        "\t\t\t\t\t\tROOT Run.Wheel", "\t\t\tROOT Run.Other"}));
    for (const auto& line : dataLines(text))
        EXPECT_EQ(splitFields(line).size(), 48u);
}

TEST_F(BvhExportTest, ChannelsCarryTheMappedMotionAtThirtyFramesPerSecond) {
    model::ObjectRecord r = bareObject();
    const int arm = addEffector(r, kEffectorBasic, "Arm");
    auto& a = r.effectors[static_cast<std::size_t>(arm)];
    a.drivers = {0, 1, 51, 16, 2, 14};
    a.offsets = {3.0f, -1.0f, 0.5f, 10.0f, 0.0f, 30.0f};
    a.scales = {0.0f, 2.0f, -1.0f, 1.0f, 0.5f, 1.0f};
    const int horn = addEffector(r, kEffectorSound, "Horn", arm);
    auto& h = r.effectors[static_cast<std::size_t>(horn)];
    h.drivers = {0, 0, 20, 62, 0, 0};
    h.offsets = {1.0f, 2.0f, 3.0f, 4.0f, 5.0f, 6.0f};
    h.scales = {1.0f, 1.0f, 2.0f, 9.0f, 1.0f, 1.0f};
    options.feetPerUnit = 3.2808f; // metres

    const auto data = dataLines(exportText(r, linearMotion(2.0f)));
    ASSERT_EQ(data.size(), 60u);
    for (int m : {1, 7, 30, 59}) {
        const float t = static_cast<float>(m) * 0.033333335f;
        const model::MotionFrame f = linearFrame(t);
        const auto v = values(data[static_cast<std::size_t>(m)]);
        ASSERT_EQ(v.size(), 30u);
        const auto near = [&](std::size_t i, double expected) {
            EXPECT_NEAR(v[i], expected, 1e-4 * std::max(1.0, std::abs(expected)))
                << "frame " << m << " channel " << i;
        };
        // Centre of gravity: metres to feet, then feet to the working unit (m).
        near(0, -f[model::kFrameEast]);
        near(1, -f[model::kFrameDown]);
        near(2, f[model::kFrameNorth]);
        near(5, -f[model::kFrameYaw]);
        near(7, -f[model::kFramePitch]);
        near(9, f[model::kFrameRoll]);
        for (std::size_t i : {3u, 4u, 6u, 8u, 10u, 11u})
            EXPECT_EQ(v[i], 0.0);
        // Arm: offset + scale x quantity, in feet divided by the unit.
        const double right = -1.0 + 2.0 * f[12]; // aileron
        const double down = 0.5 - 1.0 * f[54];   // external force
        near(12, -right / 3.2808);
        near(13, -down / 3.2808);
        near(14, 3.0 / 3.2808);
        near(17, -(30.0 + f[25])); // main rotor rotation
        near(19, -(0.5 * f[13]));  // elevator
        near(21, 10.0 + f[29]);    // main rotor pitch
        // Sound: raw forward, right, down, roll, pitch, yaw; the tachometer unscaled.
        near(24, 1.0);
        near(25, 2.0);
        near(26, 3.0 + 2.0 * f[33]);
        near(27, f[65]);
        near(28, 5.0);
        near(29, 6.0);
    }
}

TEST_F(BvhExportTest, LeftHandPreferenceNegatesXPositionYAndZRotationOfEveryJoint) {
    model::ObjectRecord r = bareObject();
    const int arm = addEffector(r, kEffectorBasic, "Arm");
    r.effectors[static_cast<std::size_t>(arm)].offsets = {1.0f, 2.0f, 3.0f, 4.0f, 5.0f, 6.0f};
    r.effectors[static_cast<std::size_t>(arm)].drivers = {1, 2, 3, 4, 5, 6};
    r.effectors[static_cast<std::size_t>(arm)].scales = {1, 1, 1, 1, 1, 1};
    const int horn = addEffector(r, kEffectorSound, "Horn", arm);
    r.effectors[static_cast<std::size_t>(horn)].offsets = {1.0f, 2.0f, 3.0f, 4.0f, 5.0f, 6.0f};
    const int wheel = addEffector(r, kEffectorTire, "Wheel", horn);
    r.effectors[static_cast<std::size_t>(wheel)].offsets = {-1.0f, -2.0f, 3.0f, 7.0f, 8.0f, 9.0f};
    const auto motion = writeMotion(r, linearMotion(1.0f));

    options.rightHanded = true;
    ASSERT_TRUE(exp::exportBvh(motion, dir / "right.bvh", "Run", options, slot(), log));
    options.rightHanded = false;
    ASSERT_TRUE(exp::exportBvh(motion, dir / "left.bvh", "Run", options, slot(), log));
    const auto right = dataLines(readText(dir / "right.bvh"));
    const auto left = dataLines(readText(dir / "left.bvh"));
    ASSERT_EQ(right.size(), left.size());

    // Channel offsets of the three-joint chains (CG, Arm, Wheel); the Sound
    // joint's raw values sit at 24..29 and do not change.
    const std::vector<std::size_t> chains = {0, 12, 30};
    for (std::size_t m = 1; m < right.size(); ++m) {
        const auto rv = values(right[m]);
        const auto lv = values(left[m]);
        ASSERT_EQ(rv.size(), 42u);
        ASSERT_EQ(lv.size(), 42u);
        std::vector<bool> negated(42, false);
        for (std::size_t c : chains) {
            negated[c + 0] = negated[c + 5] = negated[c + 9] = true;
            EXPECT_NE(rv[c + 0], 0.0);
            EXPECT_NE(rv[c + 5], 0.0);
            EXPECT_NE(rv[c + 9], 0.0);
        }
        for (std::size_t i = 0; i < rv.size(); ++i) {
            EXPECT_EQ(lv[i], negated[i] ? -rv[i] : rv[i]) << "frame " << m << " channel " << i;
        }
    }
}

TEST_F(BvhExportTest, DamagedTreeLinksExportEveryEffectorOnce) {
    model::ObjectRecord r = bareObject();
    addEffector(r, kEffectorBasic, "A");
    addEffector(r, kEffectorBasic, "B", 0);
    addEffector(r, kEffectorBasic, "C", 1);
    // B also claims A, itself and an effector that does not exist.
    auto& b = r.effectors[1];
    b.children = {2, 0, 1, 17, -4, 2};
    b.childCount = 6;
    const std::string text = exportText(r, linearMotion(0.5f));
    for (const char* name : {"ROOT Run.A\n", "ROOT Run.B\n", "ROOT Run.C\n"}) {
        const auto first = text.find(name);
        ASSERT_NE(first, std::string::npos) << name;
        EXPECT_EQ(text.find(name, first + 1), std::string::npos) << name;
    }
    for (const auto& line : dataLines(text))
        EXPECT_EQ(splitFields(line).size(), 48u);
}

TEST_F(BvhExportTest, MotionShorterThanOneFrameWritesNoDataLines) {
    const std::string text = exportText(bareObject(), {linearFrame(0.0f)});
    EXPECT_NE(text.find("Frames:\t0\n"), std::string::npos);
    EXPECT_TRUE(dataLines(text).empty());
    EXPECT_TRUE(log.shown.empty());
}

TEST_F(BvhExportTest, CameraSlotIsEmptiedAfterTheExport) {
    model::ObjectRecord r = bareObject();
    addEffector(r, kEffectorBasic, "Arm");
    exportText(r, linearMotion(1.0f));
    EXPECT_EQ(camera.vehicleType, model::kVehicleNone);
    EXPECT_EQ(camera.effectorCount, 0);
    EXPECT_EQ(camera.color, 16);
    EXPECT_EQ(store.lastFrame(kCameraSlot), -1);
    EXPECT_GE(geometryClears, 1);
}

TEST_F(BvhExportTest, UnreadableMotionLeavesNoOutputAndKeepsAPreviousFile) {
    const auto motion = writeMotion(bareObject(), linearMotion(1.0f));
    auto bytes = filetest::readBytes(motion);
    bytes[0] = 0x4c; // 11852: a size word of no known version
    filetest::writeBytes(motion, bytes);

    EXPECT_FALSE(exp::exportBvh(motion, dir / "Run.bvh", "Run", options, slot(), log));
    EXPECT_FALSE(std::filesystem::exists(dir / "Run.bvh"));
    ASSERT_EQ(log.shown.size(), 1u);
    EXPECT_EQ(log.shown[0],
              "The file cannot be read because it was created by an old version of Kestrovane.");
    EXPECT_EQ(dir.entries(), std::vector<std::string>{"Run.kvm"});
    EXPECT_EQ(camera.vehicleType, model::kVehicleNone);
    EXPECT_EQ(store.lastFrame(kCameraSlot), -1);

    filetest::writeBytes(dir / "Old.bvh", {'o', 'l', 'd'});
    EXPECT_FALSE(exp::exportBvh(dir / "Missing.kvm", dir / "Old.bvh", "Run", options, slot(), log));
    EXPECT_EQ(log.shown.back(), "A valid file was not selected.");
    EXPECT_EQ(readText(dir / "Old.bvh"), "old");
}

TEST_F(BvhExportTest, OutputThatCannotBeWrittenIsReported) {
    const auto motion = writeMotion(bareObject(), linearMotion(1.0f));
    const auto folder = dir / "locked";
    std::filesystem::create_directory(folder);
    if (!filetest::makeReadOnly(folder))
        GTEST_SKIP() << "folder still accepts files";
    const bool ok = exp::exportBvh(motion, folder / "Run.bvh", "Run", options, slot(), log);
    filetest::makeWritable(folder);
    EXPECT_FALSE(ok);
    EXPECT_EQ(log.shown, std::vector<std::string>{"\"Run.bvh\" could not be saved."});
    EXPECT_TRUE(std::filesystem::is_empty(folder));
}

} // namespace
} // namespace kv::exptest
