// The Kestrovane-Load scene converter, run inside the test host.

#include "common/unit_constants.h"
#include "support/motion_writer.h"
#include "support/plugins.h"
#include "support/scene_reader.h"

#include <cmath>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <numbers>

namespace kv::plugtest {
namespace {

namespace fs = std::filesystem;
using lwtest::ConversionRun;
using lwtest::PanelScript;
using lwtest::TestHost;

class LoadPlugin : public ::testing::Test {
  protected:
    void SetUp() override {
        module_ = loadModule(KV_LOAD_PLUGIN);
        ASSERT_TRUE(module_);
        server_ = module_->findServer("SceneConverter", "Kestrovane-Load");
        ASSERT_NE(server_, nullptr);
    }

    /// Writes `fixture` as run.kvm and converts it, answering the panel with `panel`.
    ConversionRun convert(const MotionFixture& fixture, const PanelScript& panel = {}) {
        writeMotion(motion_, fixture);
        host_.panelScripts.push_back(panel);
        return host_.convert(*server_, motion_.string());
    }

    Scene scene() const {
        Scene s = parseScene(readText(scenePath()));
        EXPECT_EQ(s.error, "");
        return s;
    }

    fs::path scenePath() const { return dir_ / "run.lws"; }

    /// Files in the folder besides the motion file.
    std::vector<std::string> otherFiles() const {
        std::vector<std::string> names;
        for (const auto& e : fs::directory_iterator(dir_.path())) {
            if (e.path() != motion_)
                names.push_back(e.path().filename().string());
        }
        return names;
    }

    TempDir dir_;
    fs::path motion_ = dir_ / "run.kvm";
    TestHost host_;
    std::unique_ptr<lwtest::PluginModule> module_;
    const ServerRecord* server_ = nullptr;
};

/// A ten-second motion, frames every half second.
MotionFixture tenSeconds() {
    MotionFixture fixture;
    fixture.frames = steadyFrames(21, 0.5f);
    return fixture;
}

TEST_F(LoadPlugin, ModuleOffersOneSceneConverter) {
    expectHostAcceptsDescriptor(*module_);
    const std::vector<std::pair<std::string, std::string>> expected = {
        {"SceneConverter", "Kestrovane-Load"}};
    EXPECT_EQ(module_->servers(), expected);
}

TEST_F(LoadPlugin, ConvertsBesideTheMotionAndKeepsTheScene) {
    const auto run = convert(tenSeconds());
    EXPECT_EQ(run.result, AFUNC_OK);
    EXPECT_FALSE(run.failure);
    ASSERT_TRUE(run.scene);
    EXPECT_EQ(*run.scene, scenePath().string());
    EXPECT_TRUE(run.deleteSet);
    // The host has called the delete function: the scene is the user's result and stays.
    EXPECT_TRUE(fs::exists(scenePath()));
    EXPECT_EQ(otherFiles(), std::vector<std::string>{"run.lws"});
    EXPECT_TRUE(host_.messages.empty());
}

struct SkipCase {
    int skip;
    int keys;
    int lastKeyFrame;
};

class LoadPluginSkip : public LoadPlugin, public ::testing::WithParamInterface<SkipCase> {};

TEST_P(LoadPluginSkip, KeysEverySkipFramesOfTenSecondsAtThirtyFps) {
    const SkipCase c = GetParam();
    host_.framesPerSecond = 30.0;
    ASSERT_EQ(convert(tenSeconds(), {true, {{"Frame Skip", c.skip}}}).result, AFUNC_OK);
    const Scene s = scene();
    EXPECT_EQ(s.lastFrame, 300);
    EXPECT_EQ(s.framesPerSecond, "30.000000");
    ASSERT_EQ(s.objects.size(), 1u);
    const SceneObject& cg = s.objects[0];
    EXPECT_EQ(cg.name, "run.CG");
    EXPECT_EQ(cg.keyCount, c.keys);
    ASSERT_EQ(cg.keys.size(), static_cast<std::size_t>(c.keys));
    const auto frames = keyFrames(cg);
    for (std::size_t i = 0; i < frames.size(); ++i) {
        EXPECT_EQ(frames[i], static_cast<int>(i) * c.skip);
    }
    EXPECT_EQ(frames.back(), c.lastKeyFrame);
}

INSTANTIATE_TEST_SUITE_P(Skips, LoadPluginSkip,
                         ::testing::Values(SkipCase{3, 100, 297}, SkipCase{7, 43, 294},
                                           SkipCase{1, 300, 299}, SkipCase{300, 1, 0},
                                           SkipCase{1000, 1, 0}));

TEST_F(LoadPlugin, FirstKeyHasZeroScaleAndTheRestFullScale) {
    ASSERT_EQ(convert(tenSeconds(), {true, {{"Frame Skip", 3}}}).result, AFUNC_OK);
    const Scene s = scene();
    const SceneKey& first = s.objects[0].keys[0];
    EXPECT_EQ(first.values, (std::array<double, 6>{}));
    EXPECT_EQ(first.scale, (std::array<double, 3>{}));
    EXPECT_EQ(s.objects[0].keys[1].scale, (std::array<double, 3>{1, 1, 1}));
}

TEST_F(LoadPlugin, TimeOffsetHoldsTheFirstPoseAndShiftsTheKeys) {
    MotionFixture fixture = tenSeconds();
    for (auto& f : fixture.frames)
        f[kFieldNorth] = f[kFieldTime]; // 1 m/s forward
    ASSERT_EQ(convert(fixture, {true, {{"Time Offset (Sec)", 2.0}}}).result, AFUNC_OK);
    const Scene s = scene();
    EXPECT_EQ(s.lastFrame, 360); // 300 grown by 60
    const SceneObject& cg = s.objects[0];
    ASSERT_EQ(cg.keys.size(), 301u);
    EXPECT_EQ(cg.keyCount, 301);
    EXPECT_EQ(cg.keys[0].frame, 0);
    EXPECT_EQ(cg.keys[0].scale, (std::array<double, 3>{}));
    EXPECT_EQ(cg.keys[1].frame, 1);
    EXPECT_EQ(cg.keys[1].scale, (std::array<double, 3>{1, 1, 1}));
    EXPECT_EQ(cg.keys[1].values, cg.keys[2].values);
    EXPECT_NEAR(cg.keys[1].values[2], 1.0 / 30.0, 1e-6);
    for (std::size_t i = 2; i < cg.keys.size(); ++i) {
        EXPECT_EQ(cg.keys[i].frame, 59 + static_cast<int>(i));
    }
}

TEST_F(LoadPlugin, TimeScaleStretchesTheMotionAndInterpolates) {
    MotionFixture fixture;
    fixture.frames = steadyFrames(3, 1.0f); // 0, 1, 2 s
    fixture.frames[1][kFieldNorth] = 10.0f;
    fixture.frames[2][kFieldNorth] = 10.0f;
    ASSERT_EQ(convert(fixture, {true, {{"Time Scale (%)", 50.0}}}).result, AFUNC_OK);
    const Scene s = scene();
    EXPECT_EQ(s.lastFrame, 30); // at 50 % the 2 s motion fills 1 s of the scene
    const SceneObject& cg = s.objects[0];
    ASSERT_EQ(cg.keys.size(), 30u);
    EXPECT_NEAR(cg.keys[3].values[2], 2.0, 1e-6);   // frame 3 samples 0.2 s
    EXPECT_NEAR(cg.keys[15].values[2], 10.0, 1e-6); // frame 15 samples 1 s
}

TEST_F(LoadPlugin, CentreOfGravityMapsToLightWaveAxes) {
    MotionFixture fixture;
    fixture.frames = steadyFrames(4, 1.0f);
    for (auto& f : fixture.frames) {
        f[kFieldNorth] = 1.0f;
        f[kFieldEast] = 2.0f;
        f[kFieldDown] = 3.0f;
        f[kFieldRoll] = 10.0f;
        f[kFieldPitch] = 20.0f;
        f[kFieldYaw] = 30.0f;
    }
    host_.framesPerSecond = 1.0;
    ASSERT_EQ(convert(fixture).result, AFUNC_OK);
    const auto keys = scene().objects[0].keys;
    ASSERT_EQ(keys.size(), 3u);
    EXPECT_EQ(keys[1].values, (std::array<double, 6>{2, -3, 1, 30, -20, -10}));
    const std::string text = readText(scenePath());
    EXPECT_NE(text.find("2.000000 -3.000000 1.000000 30.000000 -20.000000 -10.000000 1 1 1\n"
                        "1 0 1.0 0 0\n"),
              std::string::npos);
}

struct AngleCase {
    int field;   ///< frame field of the angle
    int column;  ///< scene column it reaches
    double sign; ///< LightWave's sense of the angle
};

class LoadPluginAngles : public LoadPlugin, public ::testing::WithParamInterface<AngleCase> {};

TEST_P(LoadPluginAngles, AnglesUnwrapAcrossTheHalfTurn) {
    const AngleCase c = GetParam();
    MotionFixture fixture;
    fixture.frames = steadyFrames(6, 1.0f);
    const float angles[6] = {179, 179, -179, -179, 179, 179};
    for (std::size_t i = 0; i < 6; ++i)
        fixture.frames[i][static_cast<std::size_t>(c.field)] = angles[i];
    host_.framesPerSecond = 2.0;
    ASSERT_EQ(convert(fixture).result, AFUNC_OK);
    const auto keys = scene().objects[0].keys;
    const std::vector<double> expected = {179, 179, 180, 181, 181, 181, 180, 179, 179};
    ASSERT_EQ(keys.size(), expected.size() + 1);
    for (std::size_t i = 0; i < expected.size(); ++i) {
        EXPECT_NEAR(keys[i + 1].values[static_cast<std::size_t>(c.column)], c.sign * expected[i],
                    1e-6)
            << "key at frame " << keys[i + 1].frame;
    }
}

INSTANTIATE_TEST_SUITE_P(RollPitchYaw, LoadPluginAngles,
                         ::testing::Values(AngleCase{kFieldYaw, 3, 1.0},
                                           AngleCase{kFieldPitch, 4, -1.0},
                                           AngleCase{kFieldRoll, 5, -1.0}));

TEST_F(LoadPlugin, YawGoingFrom179ToMinus179ReachesTheSceneAs179And181) {
    MotionFixture fixture;
    fixture.frames = steadyFrames(4, 1.0f);
    const float yaw[4] = {179, 179, -179, -179};
    for (std::size_t i = 0; i < 4; ++i)
        fixture.frames[i][kFieldYaw] = yaw[i];
    host_.framesPerSecond = 1.0;
    ASSERT_EQ(convert(fixture).result, AFUNC_OK);
    const auto keys = scene().objects[0].keys;
    ASSERT_EQ(keys.size(), 3u);
    EXPECT_EQ(keys[1].values[3], 179.0);
    EXPECT_EQ(keys[2].values[3], 181.0);
}

class LoadPluginFrameCount : public LoadPlugin, public ::testing::WithParamInterface<int> {};

TEST_P(LoadPluginFrameCount, TwoRealFramesOrFewerAreRefused) {
    const int frames = GetParam();
    MotionFixture fixture;
    fixture.frames = steadyFrames(frames, 1.0f);
    const auto run = convert(fixture);
    EXPECT_EQ(run.result, AFUNC_OK);
    if (frames <= 2) {
        EXPECT_EQ(host_.messages, std::vector<std::string>{"No motion data saved in file."});
        EXPECT_FALSE(run.scene);
        EXPECT_FALSE(run.failure);
        EXPECT_TRUE(otherFiles().empty());
    } else {
        EXPECT_TRUE(host_.messages.empty());
        EXPECT_TRUE(run.scene);
    }
}

INSTANTIATE_TEST_SUITE_P(Frames, LoadPluginFrameCount, ::testing::Values(0, 1, 2, 3, 4));

TEST_F(LoadPlugin, EffectorsFollowTheTreeDepthFirstWithParentNumbers) {
    MotionFixture fixture = tenSeconds();
    fixture.effectors = {
        {"Body", 0, -1, {2, 1}}, // object 2
        {"WheelA", 1, 0, {}},    // object 5
        {"Fork", 0, 0, {3}},     // object 3
        {"WheelB", 1, 2, {}},    // object 4
        {"Antenna", 0, -1, {}},  // object 6
    };
    ASSERT_EQ(convert(fixture, {true, {{"Frame Skip", 100}}}).result, AFUNC_OK);
    const Scene s = scene();
    ASSERT_EQ(s.objects.size(), 6u);
    const std::vector<std::pair<std::string, std::optional<int>>> expected = {
        {"run.CG", std::nullopt}, {"run.Body", 1},   {"run.Fork", 2},
        {"run.WheelB", 3},        {"run.WheelA", 2}, {"run.Antenna", 1},
    };
    for (std::size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(s.objects[i].name, expected[i].first);
        EXPECT_EQ(s.objects[i].parent, expected[i].second) << s.objects[i].name;
        EXPECT_EQ(s.objects[i].keyCount, 3);
        EXPECT_EQ(s.objects[i].keys.size(), 3u);
    }
}

TEST_F(LoadPlugin, DamagedTreeWritesEachEffectorOnce) {
    MotionFixture fixture = tenSeconds();
    fixture.effectors = {
        {"A", 0, -1, {1, 1}}, // lists its child twice
        {"B", 0, 0, {0}},     // and the child lists its parent
    };
    ASSERT_EQ(convert(fixture, {true, {{"Frame Skip", 100}}}).result, AFUNC_OK);
    const Scene s = scene();
    ASSERT_EQ(s.objects.size(), 3u);
    EXPECT_EQ(s.objects[1].name, "run.A");
    EXPECT_EQ(s.objects[2].name, "run.B");
    EXPECT_EQ(s.objects[2].parent, 2);
}

/// Constant motion with known driving quantities; every key samples them exactly.
MotionFixture drivenMotion(std::vector<EffectorSpec> effectors) {
    MotionFixture fixture;
    fixture.effectors = std::move(effectors);
    fixture.frames = steadyFrames(4, 1.0f);
    for (auto& f : fixture.frames) {
        f[12] = 0.1f;  // aileron (code 1)
        f[23] = 0.2f;  // nozzle (code 12)
        f[24] = 33.0f; // propeller angle (code 13)
        f[25] = 30.0f; // main rotor angle (code 14)
        f[26] = 1.0f;  // coning
        f[27] = 2.0f;  // cosine flapping
        f[28] = 3.0f;  // sine flapping
        f[29] = 7.0f;  // main rotor pitch (code 16)
        f[30] = 44.0f; // tail rotor angle (code 17)
        f[31] = 5.0f;  // tail rotor pitch (code 18)
        f[32] = 0.3f;  // tire steer (code 19)
        f[33] = 3.0f;  // gear (code 20)
        f[34] = 0.25f; // strut of tire 0 (codes 21, 41)
        f[43] = 0.4f;  // strut of tire 9 (codes 30, 50)
        f[44] = 45.0f; // roll of tire 0 (code 31)
        f[53] = 0.6f;  // roll of tire 9 (code 40)
        f[54] = 1.0f;  // external force (code 51)
        f[55] = 0.5f;  // skid indicator of tire 0 (code 52)
        f[65] = 0.75f; // tachometer (code 62)
    }
    return fixture;
}

TEST_F(LoadPlugin, EffectorChannelsAreEvaluatedAsTheSimulatorAnimatesThem) {
    const double m = kv::kMetresPerFootD;
    const double azimuth = 120.0 * std::numbers::pi / 180.0; // rotor angle + yaw offset
    const double flap = std::sin(azimuth) * 3.0 + std::cos(azimuth) * 2.0 + 1.0;
    struct Case {
        EffectorSpec effector;
        std::array<double, 6> expected; // X, Y, Z, heading, pitch, bank
    };
    const std::vector<Case> cases = {
        // Offset alone, transmission, strut, rotor pitch, rotor flap (with the
        // effector's yaw offset as its azimuth), rotor rotation.
        {{"A", 0, -1, {}, {0, 20, 21, 16, 15, 14}, {10, 1, 2, 5, 0, 90}, {1, 0.5f, 2, 1, 1, 1}},
         {2.5 * m, -2.5 * m, 10 * m, 120, -flap, -12}},
        // Pivot follows its tire's strut; skid and tachometer are copied unscaled;
        // code 63 is the offset alone; tire roll; external force.
        {{"B", 0, -1, {}, {41, 52, 63, 62, 31, 51}, {0, 4, 3, 9, 0, 0}, {2, 5, 5, 5, 1, 2}},
         {0.5, -3 * m, 0.5 * m, 2, -45, -0.75}},
        // Control channels and the other rotor and steering quantities.
        {{"C", 0, -1, {}, {1, 12, 13, 17, 18, 19}, {}, {1, 1, 1, 1, 1, 1}},
         {0.2 * m, -33 * m, 0.1 * m, 0.3, -5, -44}},
        // Numbered codes of the last tire.
        {{"D", 0, -1, {}, {30, 50, 40, 0, 0, 0}, {}, {1, 1, 1, 1, 1, 1}},
         {0.4 * m, -0.6 * m, 0.4 * m, 0, 0, 0}},
    };
    std::vector<EffectorSpec> effectors;
    for (const auto& c : cases)
        effectors.push_back(c.effector);
    host_.framesPerSecond = 1.0;
    ASSERT_EQ(convert(drivenMotion(effectors)).result, AFUNC_OK);
    const Scene s = scene();
    ASSERT_EQ(s.objects.size(), 1 + cases.size());
    for (std::size_t i = 0; i < cases.size(); ++i) {
        const SceneObject& o = s.objects[i + 1];
        ASSERT_EQ(o.keys.size(), 3u);
        for (std::size_t k = 0; k < 6; ++k) {
            EXPECT_NEAR(o.keys[2].values[k], cases[i].expected[k], 2e-6)
                << o.name << " column " << k;
        }
    }
}

TEST_F(LoadPlugin, AsksForTheSettingsInOnePanel) {
    ASSERT_EQ(convert(tenSeconds()).result, AFUNC_OK);
    ASSERT_EQ(host_.panels.size(), 1u);
    const auto& p = host_.panels[0];
    EXPECT_EQ(p.title, "Kestrovane");
    EXPECT_EQ(p.width, 200);
    ASSERT_EQ(p.controls.size(), 3u);
    EXPECT_EQ(p.controls[0].type, "NumControl");
    EXPECT_EQ(p.controls[0].label, "Frame Skip");
    EXPECT_EQ(p.controls[0].preset, 1.0);
    EXPECT_EQ(p.controls[1].type, "FloatControl");
    EXPECT_EQ(p.controls[1].label, "Time Scale (%)");
    EXPECT_EQ(p.controls[1].preset, 100.0);
    EXPECT_EQ(p.controls[2].type, "FloatControl");
    EXPECT_EQ(p.controls[2].label, "Time Offset (Sec)");
    EXPECT_EQ(p.controls[2].preset, 0.0);
    EXPECT_EQ(p.openFlags, PANF_BLOCKING | PANF_CANCEL);
    EXPECT_TRUE(p.destroyed);
}

TEST_F(LoadPlugin, CancelAbandonsQuietly) {
    const auto run = convert(tenSeconds(), {false, {}});
    EXPECT_EQ(run.result, AFUNC_OK);
    EXPECT_FALSE(run.scene);
    EXPECT_FALSE(run.failure);
    EXPECT_TRUE(host_.messages.empty());
    EXPECT_TRUE(otherFiles().empty());
}

TEST_F(LoadPlugin, WithoutPanelServicesConvertsWithTheDefaults) {
    host_.missingGlobals.insert("LWPanelServices");
    ASSERT_TRUE(convert(tenSeconds()).scene);
    EXPECT_TRUE(host_.panels.empty());
    EXPECT_EQ(scene().objects[0].keys.size(), 300u);
}

struct SettingCase {
    std::string label;
    double value;
    std::string message; ///< "" when accepted
};

class LoadPluginSettings : public LoadPlugin, public ::testing::WithParamInterface<SettingCase> {};

TEST_P(LoadPluginSettings, RefusesUnusableSettingsWithAMessage) {
    const SettingCase c = GetParam();
    const auto run = convert(tenSeconds(), {true, {{c.label, c.value}}});
    EXPECT_EQ(run.result, AFUNC_OK);
    EXPECT_FALSE(run.failure);
    if (c.message.empty()) {
        EXPECT_TRUE(run.scene);
        EXPECT_TRUE(host_.messages.empty());
    } else {
        EXPECT_FALSE(run.scene);
        EXPECT_EQ(host_.messages, std::vector<std::string>{c.message});
        EXPECT_TRUE(otherFiles().empty());
    }
}

INSTANTIATE_TEST_SUITE_P(
    Values, LoadPluginSettings,
    ::testing::Values(SettingCase{"Frame Skip", 0, "Frame skip must be greater than 0"},
                      SettingCase{"Frame Skip", -2, "Frame skip must be greater than 0"},
                      SettingCase{"Time Scale (%)", 0, "Time scale must be greater than 0%"},
                      SettingCase{"Time Scale (%)", -50, "Time scale must be greater than 0%"},
                      SettingCase{"Time Offset (Sec)", -0.5,
                                  "Time offset must be greater than 0 seconds"},
                      SettingCase{"Time Offset (Sec)", 0, ""},
                      SettingCase{"Time Scale (%)", 0.5, ""}));

class LoadPluginGlobals : public LoadPlugin, public ::testing::WithParamInterface<std::string> {};

TEST_P(LoadPluginGlobals, MissingServiceReturnsBadGlobal) {
    host_.missingGlobals.insert(GetParam());
    for (auto names : {lwtest::GlobalNames::Oldest, lwtest::GlobalNames::Numbered}) {
        host_.globalNames = names;
        const auto run = convert(tenSeconds());
        EXPECT_EQ(run.result, AFUNC_BADGLOBAL);
    }
    EXPECT_TRUE(host_.panels.empty());
    EXPECT_TRUE(host_.messages.empty());
    EXPECT_TRUE(otherFiles().empty());
}

INSTANTIATE_TEST_SUITE_P(Services, LoadPluginGlobals,
                         ::testing::Values("LW Item Info", "LW Scene Info", "Info Messages"));

TEST_F(LoadPlugin, AsksForEachServiceByItsOldestNameFirst) {
    ASSERT_TRUE(convert(tenSeconds()).scene);
    const std::vector<std::string> expected = {"LW Item Info", "LW Scene Info", "Info Messages",
                                               "LWPanelServices"};
    EXPECT_EQ(host_.lookups, expected);
}

TEST_F(LoadPlugin, CurrentHostIsFoundUnderItsNumberedNames) {
    host_.globalNames = lwtest::GlobalNames::Numbered;
    host_.framesPerSecond = 25.0;
    const auto run = convert(tenSeconds());
    EXPECT_EQ(run.result, AFUNC_OK);
    ASSERT_TRUE(run.scene);
    // The frame rate comes from the numbered scene record: 10 s at 25 frames/s.
    EXPECT_EQ(scene().objects[0].keys.size(), 250u);
    EXPECT_EQ(host_.panels.size(), 1u);

    std::vector<std::string> expected = namesUpTo("LW Item Info", 9);
    for (const auto& more : {namesUpTo("LW Scene Info", 12), namesUpTo("Info Messages", 3)})
        expected.insert(expected.end(), more.begin(), more.end());
    expected.push_back("LWPanelServices");
    EXPECT_EQ(host_.lookups, expected);
}

TEST_F(LoadPlugin, LaterHostsConvertAndUnknownVersionsReturnBadVersion) {
    writeMotion(motion_, tenSeconds());
    // Every version whose record begins with the members the plug-in reads.
    for (int version = LWSCENECONVERTER_VERSION; version <= LWSCENECONVERTER_VERSION_LATEST;
         ++version) {
        host_.panelScripts.push_back({});
        EXPECT_EQ(host_.convert(*server_, motion_.string(), version).result, AFUNC_OK) << version;
        EXPECT_EQ(scene().error, "") << version;
    }
    host_.lookups.clear();
    std::filesystem::remove(scenePath());
    for (int version : {0, -1, LWSCENECONVERTER_VERSION_LATEST + 1, 7}) {
        EXPECT_EQ(host_.convert(*server_, motion_.string(), version).result, AFUNC_BADVERSION);
    }
    EXPECT_TRUE(host_.lookups.empty());
    EXPECT_TRUE(otherFiles().empty());
}

struct DamageCase {
    std::string what;
    MotionFixture fixture;
};

class LoadPluginDamage : public LoadPlugin, public ::testing::WithParamInterface<DamageCase> {};

TEST_P(LoadPluginDamage, DamagedFileIsRefusedAsInvalid) {
    const auto run = convert(GetParam().fixture);
    EXPECT_EQ(run.result, AFUNC_OK);
    EXPECT_EQ(host_.messages, std::vector<std::string>{"Invalid motion file."});
    EXPECT_FALSE(run.scene);
    EXPECT_FALSE(run.failure);
    EXPECT_TRUE(otherFiles().empty());
}

std::vector<DamageCase> damagedFiles() {
    std::vector<DamageCase> cases;
    auto add = [&](std::string what, auto change) {
        MotionFixture fixture = tenSeconds();
        fixture.triangles = 2;
        fixture.effectors = {{"Body", 0, -1, {1}}, {"Wheel", 1, 0, {}}};
        change(fixture);
        cases.push_back({std::move(what), fixture});
    };
    add("PreviousVersionSize", [](MotionFixture& s) { s.sizeTag = 12076; });
    add("EmptyFile", [](MotionFixture& s) { s.truncateTo = 0; });
    add("ShortSize", [](MotionFixture& s) { s.truncateTo = 3; });
    add("ShortRecord", [](MotionFixture& s) { s.truncateTo = 4 + 11939; });
    add("NoTriangleCount", [](MotionFixture& s) { s.truncateTo = 4 + 11940 + 2; });
    add("NegativeTriangleCount", [](MotionFixture& s) { s.triangleCount = -1; });
    add("TrianglesBeyondTheFile", [](MotionFixture& s) { s.triangleCount = 0x7fffffff; });
    add("NoFirstFrame", [](MotionFixture& s) { s.truncateTo = 4 + 11940 + 4 + 72 + 100; });
    add("NoEndMarker", [](MotionFixture& s) { s.endMarker = false; });
    add("ShortEndMarker",
        [](MotionFixture& s) { s.truncateTo = 4 + 11940 + 4 + 72 + 264 * 21 + 263; });
    add("TooManyEffectors", [](MotionFixture& s) { s.effectorCount = 31; });
    add("NegativeEffectorCount", [](MotionFixture& s) { s.effectorCount = -1; });
    add("ParentOutOfRange", [](MotionFixture& s) { s.effectors[1].parent = 2; });
    add("ChildOutOfRange", [](MotionFixture& s) { s.effectors[0].children = {5}; });
    add("TooManyChildren",
        [](MotionFixture& s) { s.effectors[0].children = {1, 1, 1, 1, 1, 1, 1}; });
    add("EndlessTime", [](MotionFixture& s) { s.frames.back()[kFieldTime] = INFINITY; });
    add("UndefinedTime", [](MotionFixture& s) { s.frames.back()[kFieldTime] = NAN; });
    return cases;
}

INSTANTIATE_TEST_SUITE_P(Files, LoadPluginDamage, ::testing::ValuesIn(damagedFiles()),
                         [](const auto& param) { return param.param.what; });

TEST_F(LoadPlugin, MotionTooLongForTheSceneIsRefused) {
    MotionFixture fixture = tenSeconds();
    fixture.frames.back()[kFieldTime] = 1e9f;
    const auto run = convert(fixture);
    EXPECT_FALSE(run.scene);
    EXPECT_EQ(host_.messages,
              std::vector<std::string>{"The motion is too long for a scene at this frame rate."});
}

TEST_F(LoadPlugin, FrameRateZeroFailsBeforeAskingAndSaysWhy) {
    host_.framesPerSecond = 0.0;
    const auto run = convert(tenSeconds());
    EXPECT_EQ(run.result, AFUNC_OK);
    ASSERT_TRUE(run.failure);
    EXPECT_NE(run.failure->find("frame rate"), std::string::npos) << *run.failure;
    EXPECT_FALSE(run.scene);
    EXPECT_TRUE(host_.panels.empty());
    EXPECT_TRUE(host_.messages.empty());
    EXPECT_TRUE(otherFiles().empty());
}

TEST_F(LoadPlugin, UnopenableInputFailsAndSaysWhy) {
    host_.panelScripts.push_back({});
    const auto run = host_.convert(*server_, (dir_ / "missing.kvm").string());
    EXPECT_EQ(run.result, AFUNC_OK);
    ASSERT_TRUE(run.failure);
    EXPECT_NE(run.failure->find("could not be opened"), std::string::npos) << *run.failure;
    EXPECT_NE(run.failure->find("missing.kvm"), std::string::npos) << *run.failure;
    EXPECT_FALSE(run.scene);
    EXPECT_FALSE(fs::exists(dir_ / "missing.lws"));
}

TEST_F(LoadPlugin, UncreatableSceneFailsAndSaysWhy) {
    // The scene is written beside its target first; a folder in the way stops that.
    fs::create_directory(dir_ / "run.lws.kvtmp");
    const auto run = convert(tenSeconds());
    EXPECT_EQ(run.result, AFUNC_OK);
    ASSERT_TRUE(run.failure);
    EXPECT_NE(run.failure->find("could not be created"), std::string::npos) << *run.failure;
    EXPECT_FALSE(run.scene);
    EXPECT_FALSE(fs::exists(scenePath()));
}

TEST_F(LoadPlugin, RefusedConversionKeepsAnEarlierScene) {
    { std::ofstream(scenePath()) << "earlier scene\n"; }
    MotionFixture fixture = tenSeconds();
    fixture.endMarker = false;
    convert(fixture);
    EXPECT_EQ(readText(scenePath()), "earlier scene\n");
}

TEST_F(LoadPlugin, SceneNeverReplacesItsOwnMotionFile) {
    const fs::path motion = dir_ / "odd.lws"; // a motion file named like its scene
    writeMotion(motion, tenSeconds());
    host_.panelScripts.push_back({});
    const auto run = host_.convert(*server_, motion.string());
    ASSERT_TRUE(run.failure);
    EXPECT_FALSE(run.scene);
    EXPECT_EQ(readText(motion).size(), motionBytes(tenSeconds()).size());
}

TEST_F(LoadPlugin, EachActivationStartsFromTheDefaults) {
    ASSERT_TRUE(convert(tenSeconds(), {true, {{"Frame Skip", 7}}}).scene);
    ASSERT_TRUE(convert(tenSeconds()).scene);
    ASSERT_EQ(host_.panels.size(), 2u);
    EXPECT_EQ(host_.panels[1].controls[0].preset, 1.0);
    EXPECT_EQ(scene().objects[0].keys.size(), 300u);
}

} // namespace
} // namespace kv::plugtest
