// The preference record's byte layout, the factory reset and the preference file.

#include "app/settings/preferences.h"
#include "app/settings/preferences_file.h"
#include "common/le_io.h"
#include "support/file_test_support.h"

#include <bit>
#include <cmath>
#include <gtest/gtest.h>
#include <limits>

namespace kv::app {
namespace {

using filetest::ScratchDir;

TEST(PreferenceRecord, FactoryImageHoldsEachValueAtItsOffset) {
    Preferences p;
    p.reserved0 = 0x01020304;
    const PreferenceImage image = encodePreferences(p);
    auto i32 = [&](std::size_t at) { return io::getI32(image.data() + at); };
    auto f32 = [&](std::size_t at) { return io::getF32(image.data() + at); };
    EXPECT_EQ(image[0], 0x04);
    EXPECT_EQ(image[3], 0x01);
    EXPECT_EQ(f32(4), 1.0f / 120.0f);
    EXPECT_EQ(f32(16), 3.2808f);
    EXPECT_EQ(i32(20), 1);
    EXPECT_EQ(i32(28), 11);
    EXPECT_EQ(f32(32), 50.0f);
    EXPECT_EQ(f32(36), 1000.0f);
    EXPECT_EQ(f32(60), 0.03f);
    EXPECT_EQ(i32(80), 1);
    EXPECT_EQ(i32(92), 10);
    EXPECT_EQ(f32(120), 1.0f / 12.0f);
    EXPECT_EQ(f32(124), 1.3333f);
    EXPECT_EQ(f32(128), 36.87f);
    EXPECT_EQ(f32(140), 3.0f);
    EXPECT_EQ(f32(160), 5000.0f);
    EXPECT_NEAR(f32(164), 424.26f, 0.01f);
    EXPECT_EQ(i32(168), 7);
    EXPECT_EQ(i32(172), 2002);
    EXPECT_EQ(i32(176), 400);
}

TEST(PreferenceRecord, EveryWordRoundTripsBitForBit) {
    // Word i holds a pattern unique to i; as floats some are NaN or denormal,
    // which must pass through untouched too.
    PreferenceImage image{};
    for (std::size_t i = 0; i < 45; ++i) {
        io::putU32(image.data() + 4 * i, 0x7fc00001u + static_cast<std::uint32_t>(i) * 0x01010101u);
    }
    Preferences p;
    decodePreferences(image, p);
    EXPECT_EQ(encodePreferences(p), image);
    EXPECT_EQ(p.objectSlots, static_cast<std::int32_t>(0x7fc00001u + 42u * 0x01010101u));
}

TEST(PreferenceRecord, RecoveryIntervalReadsOlderFilesAsTheDefault) {
    // Files written before the interval existed hold 0 in its word (offset 104).
    PreferenceImage older = encodePreferences(Preferences{});
    io::putU32(older.data() + 104, 0);
    Preferences p;
    decodePreferences(older, p);
    EXPECT_EQ(recoveryMinutes(p), kDefaultRecoveryMinutes);
    struct Case {
        int set;
        int read;
        std::int32_t stored;
    };
    for (const Case c : {Case{0, 0, 1}, Case{5, 5, 6}, Case{-3, 0, 1},
                         Case{kMaxRecoveryMinutes + 7, kMaxRecoveryMinutes, 121}}) {
        setRecoveryMinutes(p, c.set);
        const PreferenceImage image = encodePreferences(p);
        EXPECT_EQ(io::getI32(image.data() + 104), c.stored) << c.set;
        Preferences back;
        decodePreferences(image, back);
        EXPECT_EQ(recoveryMinutes(back), c.read) << c.set;
    }
    // A damaged word reads as the default rather than as some odd interval.
    p.recoveryInterval = -8;
    EXPECT_EQ(recoveryMinutes(p), kDefaultRecoveryMinutes);
    p.recoveryInterval = 5000;
    EXPECT_EQ(recoveryMinutes(p), kDefaultRecoveryMinutes);
}

TEST(PreferenceRecord, FactoryResetKeepsMemorySettingsUnlessAsked) {
    Preferences p;
    p.reserved0 = 99;
    p.simTimeStep = 1.0f / 240.0f;
    p.deadzone = 0.2f;
    p.framePeriod = 1.0f / 30.0f;
    p.objectSlots = 12;
    p.recordFrames = 9002;
    p.terrainGrid = 1200;

    Preferences kept = p;
    factoryReset(kept, false);
    EXPECT_EQ(kept.reserved0, 99);
    EXPECT_EQ(kept.simTimeStep, 1.0f / 120.0f);
    EXPECT_EQ(kept.deadzone, 0.03f);
    EXPECT_EQ(kept.framePeriod, 1.0f / 12.0f);
    EXPECT_EQ(kept.objectSlots, 12);
    EXPECT_EQ(kept.recordFrames, 9002);
    EXPECT_EQ(kept.terrainGrid, 1200);

    Preferences all = p;
    factoryReset(all, true);
    Preferences factory;
    factory.reserved0 = 99;
    EXPECT_EQ(encodePreferences(all), encodePreferences(factory));
}

class PreferenceFileTest : public ::testing::Test {
  protected:
    std::filesystem::path file() const { return dir / kPreferenceFileName; }
    ScratchDir dir;
};

TEST_F(PreferenceFileTest, MissingFileGivesFactoryValuesAndANewFile) {
    Preferences p;
    p.objectSlots = 30;
    p.cameraDrag = 7.0f;
    EXPECT_EQ(loadPreferencesAtStartUp(dir.path(), p), PreferenceFileStatus::kMissing);
    EXPECT_EQ(encodePreferences(p), encodePreferences(Preferences{}));
    const auto bytes = filetest::readBytes(file());
    ASSERT_EQ(bytes.size(), 184u);
    EXPECT_EQ(io::getI32(bytes.data()), 180);
    EXPECT_EQ(io::getI32(bytes.data() + 4 + 172), 2002);
}

TEST_F(PreferenceFileTest, AFreshInstallStoresTheConnectedControllerAndAnOldFileKeepsItsOwn) {
    int asked = 0;
    const auto keyboard = [&] {
        ++asked;
        return ControllerDevice::Keyboard;
    };
    Preferences p;
    EXPECT_EQ(loadPreferencesAtStartUp(dir.path(), p, keyboard), PreferenceFileStatus::kMissing);
    EXPECT_EQ(p.controllerCentring, 2);
    EXPECT_EQ(io::getI32(filetest::readBytes(file()).data() + 4 + 40), 2);
    // The next start reads the file and asks nothing.
    Preferences again;
    EXPECT_EQ(loadPreferencesAtStartUp(dir.path(), again, keyboard), PreferenceFileStatus::kRead);
    EXPECT_EQ(again.controllerCentring, 2);
    EXPECT_EQ(asked, 1);
    // A file of an earlier version chose the mouse or the joystick: it keeps it.
    for (const std::int32_t old : {0, 1}) {
        Preferences saved;
        saved.controllerCentring = old;
        ASSERT_TRUE(writePreferenceFile(file(), saved));
        Preferences read;
        EXPECT_EQ(loadPreferencesAtStartUp(dir.path(), read, keyboard),
                  PreferenceFileStatus::kRead);
        EXPECT_EQ(read.controllerCentring, old);
    }
    EXPECT_EQ(asked, 1);
}

TEST_F(PreferenceFileTest, SavedPreferencesReadBack) {
    Preferences saved;
    saved.rightHandedAxes = 1;
    saved.lengthUnitFactor = 1.0f;
    saved.objectSlots = 52;
    saved.recordFrames = 18002;
    saved.terrainGrid = 5000;
    ASSERT_TRUE(writePreferenceFile(file(), saved));
    Preferences read;
    EXPECT_EQ(loadPreferencesAtStartUp(dir.path(), read), PreferenceFileStatus::kRead);
    EXPECT_EQ(encodePreferences(read), encodePreferences(saved));
}

TEST_F(PreferenceFileTest, DamagedFilesGiveFactoryValuesIncludingMemoryAndStayAsTheyAre) {
    Preferences good;
    good.objectSlots = 20;
    ASSERT_TRUE(writePreferenceFile(file(), good));
    const auto intact = filetest::readBytes(file());

    struct Case {
        const char* what;
        std::function<void(std::vector<std::uint8_t>&)> damage;
    };
    auto putI = [](std::size_t at, std::int32_t v) {
        return [=](std::vector<std::uint8_t>& b) { io::putI32(b.data() + at, v); };
    };
    auto putF = [](std::size_t at, float v) {
        return [=](std::vector<std::uint8_t>& b) { io::putF32(b.data() + at, v); };
    };
    const std::vector<Case> cases = {
        {"empty", [](auto& b) { b.clear(); }},
        {"leading 181", putI(0, 181)},
        {"leading 3360", putI(0, 3360)},
        {"short record", [](auto& b) { b.resize(100); }},
        {"one byte short", [](auto& b) { b.pop_back(); }},
        {"no object slots", putI(4 + 168, 0)},
        {"too many slots", putI(4 + 168, 53)},
        {"one frame", putI(4 + 172, 1)},
        {"huge frame count", putI(4 + 172, 0x7fffffff)},
        {"no terrain grid", putI(4 + 176, 0)},
        {"zero physics step", putF(4 + 4, 0.0f)},
        {"NaN frame period", putF(4 + 120, std::numeric_limits<float>::quiet_NaN())},
        {"negative frame period", putF(4 + 120, -0.1f)},
    };
    for (const Case& c : cases) {
        auto bytes = intact;
        c.damage(bytes);
        filetest::writeBytes(file(), bytes);
        Preferences p = good;
        p.reserved0 = 5;
        EXPECT_EQ(loadPreferencesAtStartUp(dir.path(), p), PreferenceFileStatus::kDamaged)
            << c.what;
        Preferences factory;
        factory.reserved0 = 5;
        EXPECT_EQ(encodePreferences(p), encodePreferences(factory)) << c.what;
        EXPECT_EQ(filetest::readBytes(file()), bytes) << c.what;
    }
}

TEST_F(PreferenceFileTest, TrailingBytesAreIgnored) {
    Preferences saved;
    saved.gridSize = 250.0f;
    ASSERT_TRUE(writePreferenceFile(file(), saved));
    auto bytes = filetest::readBytes(file());
    bytes.insert(bytes.end(), 40, 0xEE);
    filetest::writeBytes(file(), bytes);
    Preferences read;
    EXPECT_EQ(readPreferenceFile(file(), read), PreferenceFileStatus::kRead);
    EXPECT_EQ(read.gridSize, 250.0f);
}

TEST_F(PreferenceFileTest, SaveIntoAReadOnlyFolderKeepsTheOldFile) {
    Preferences old;
    old.deadzone = 0.1f;
    ASSERT_TRUE(writePreferenceFile(file(), old));
    const auto before = filetest::readBytes(file());
    if (!filetest::makeReadOnly(dir.path())) {
        GTEST_SKIP() << "cannot make a folder read-only here";
    }
    Preferences changed;
    EXPECT_FALSE(writePreferenceFile(file(), changed));
    filetest::makeWritable(dir.path());
    EXPECT_EQ(filetest::readBytes(file()), before);
    EXPECT_EQ(dir.entries(), std::vector<std::string>{kPreferenceFileName});
}

} // namespace
} // namespace kv::app
