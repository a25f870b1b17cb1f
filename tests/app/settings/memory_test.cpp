// Memory settings: the estimate and its labels, the limits derived from the
// settings, the machine's memory figure and allocation with fallback.

#include "app/settings/memory_allocation.h"
#include "app/settings/memory_info.h"
#include "app/settings/memory_settings.h"
#include "support/file_test_support.h"

#include <gtest/gtest.h>

namespace kv::app {
namespace {

using filetest::MessageLog;

TEST(MemoryEstimate, FactorySettingsNeedSevenMegabytes) {
    EXPECT_EQ(memoryAssigned(kFactoryMemory), 7497248);
    EXPECT_EQ(megabytesText(memoryAssigned(kFactoryMemory)), "7 Mbytes");
}

TEST(MemoryEstimate, EachTermCounts) {
    // Frames, slots and grid each enter as the estimate's formula says.
    const MemorySettings base{2, 2, 1};
    EXPECT_EQ(memoryAssigned(base), 2 * 792 + 2 * (2 * 264 + 11948) + 2 * 268 + 2 * 120008 + 3 * 8);
    const MemorySettings largest{kMaxObjectSlots, kMaxRecordFrames, kMaxTerrainGrid};
    EXPECT_EQ(memoryAssigned(largest),
              std::int64_t{18002} * 792 + std::int64_t{52} * (18002 * 264 + 11948) + 52 * 268 +
                  52 * std::int64_t{120008} + std::int64_t{5000} * 5002 * 8);
}

TEST(MemoryEstimate, MegabytesRoundToNearest) {
    struct Case {
        std::int64_t bytes;
        const char* text;
    };
    for (const Case& c : {Case{0, "0 Mbytes"}, Case{499999, "0 Mbytes"}, Case{500000, "1 Mbytes"},
                          Case{1499999, "1 Mbytes"}, Case{2147483647, "2147 Mbytes"},
                          Case{64000000000, "64000 Mbytes"}}) {
        EXPECT_EQ(megabytesText(c.bytes), c.text) << c.bytes;
    }
    EXPECT_EQ(memoryAvailable(16000000), 14000000);
}

TEST(MemoryLabels, DialogTexts) {
    EXPECT_EQ(durationText(kFactoryMemory, 1.0f / 12.0f), "2 minutes");
    EXPECT_EQ(durationText(kFactoryMemory, 1.0f / 30.0f), "1 minutes");
    EXPECT_EQ(durationText(kMinimalMemory, 1.0f / 12.0f), "0 minutes");
    EXPECT_EQ(objectsText(kFactoryMemory), "5 objects");
    EXPECT_EQ(objectsText(MemorySettings{2, 2002, 400}), "0 objects");
    EXPECT_EQ(resolutionText(kFactoryMemory), "400 x 400");
    EXPECT_EQ(checkAssignment(kFactoryMemory, 7497249), "");
    EXPECT_EQ(checkAssignment(kFactoryMemory, 7497248),
              "Please ensure that the amount of memory assigned is less than the available "
              "memory.");
}

TEST(MemoryLimits, WhatOtherOperationsMayDo) {
    const MemorySettings two{2, 2002, 400};
    EXPECT_EQ(maxProjectObjects(two), 0);
    EXPECT_FALSE(canAddDynamicObject(1, two));
    EXPECT_FALSE(canAddInteractiveObject(1, two));

    const MemorySettings factory = kFactoryMemory;
    EXPECT_EQ(maxProjectObjects(factory), 5);
    EXPECT_EQ(maxRecordedFrames(factory), 2000);
    EXPECT_TRUE(canAddDynamicObject(4, factory));
    EXPECT_FALSE(canAddDynamicObject(5, factory));
    EXPECT_TRUE(canAddInteractiveObject(4, factory));
    EXPECT_FALSE(canAddInteractiveObject(5, factory));
    // Without room for recorded frames, no dynamic object, but an interactive one.
    const MemorySettings noFrames{7, 2, 400};
    EXPECT_FALSE(canAddDynamicObject(1, noFrames));
    EXPECT_TRUE(canAddInteractiveObject(1, noFrames));
}

TEST(MemorySettingsRange, DialogAndMinimalValuesAreInRange) {
    EXPECT_TRUE(memorySettingsInRange(kFactoryMemory));
    EXPECT_TRUE(memorySettingsInRange(kMinimalMemory));
    EXPECT_TRUE(memorySettingsInRange({52, 18002, 5000}));
    EXPECT_FALSE(memorySettingsInRange({1, 2002, 400}));
    EXPECT_FALSE(memorySettingsInRange({53, 2002, 400}));
    EXPECT_FALSE(memorySettingsInRange({7, 18003, 400}));
    EXPECT_FALSE(memorySettingsInRange({7, 2002, 0}));
    EXPECT_FALSE(memorySettingsInRange({7, 2002, 5001}));

    Preferences p;
    setMemorySettings(p, {9, 3002, 800});
    EXPECT_EQ(p.objectSlots, 9);
    EXPECT_EQ(memorySettingsOf(p), (MemorySettings{9, 3002, 800}));
}

TEST(PhysicalMemory, ReadsMemTotal) {
    EXPECT_EQ(parseMemTotal("MemTotal:       16337812 kB\nMemFree: 1 kB\n"),
              std::int64_t{16337812} * 1024);
    EXPECT_EQ(parseMemTotal("MemFree: 1 kB\nMemTotal: 11718 kB"), std::int64_t{11718} * 1024);
    EXPECT_FALSE(parseMemTotal("MemFree: 1 kB\n").has_value());
    EXPECT_FALSE(parseMemTotal("MemTotal: lots\n").has_value());
    EXPECT_FALSE(parseMemTotal("MemTotal: 99999999999999999999 kB\n").has_value());
    EXPECT_FALSE(parseMemTotal("").has_value());
    const auto total = totalPhysicalMemory();
    ASSERT_TRUE(total.has_value());
    EXPECT_GT(*total, kMinimumPhysicalMemory);
}

/// Succeeds only for settings up to a given estimate; remembers its calls.
class FakeOwner final : public MemoryOwner {
  public:
    explicit FakeOwner(std::int64_t limit) : limit_(limit) {}
    bool allocate(const MemorySettings& s) override {
        tried.push_back(s);
        allocated = memoryAssigned(s) <= limit_;
        return allocated;
    }
    void release() override {
        allocated = false;
        ++releases;
    }
    std::vector<MemorySettings> tried;
    bool allocated = false;
    int releases = 0;

  private:
    std::int64_t limit_;
};

TEST(AllocateWithFallback, Outcomes) {
    const MemorySettings big{52, 18002, 5000};
    struct Case {
        const char* what;
        MemorySettings settings;
        std::int64_t ownerLimit;
        bool startUp;
        std::optional<std::int64_t> total;
        bool ok;
        MemorySettings after;
        std::vector<std::string> messages;
        std::size_t tries;
    };
    const std::vector<Case> cases = {
        {"fits", big, INT64_MAX, true, 8000000000, true, big, {}, 1},
        {"falls back",
         big,
         10000000,
         true,
         8000000000,
         true,
         kFactoryMemory,
         {kMemoryResetMessage},
         2},
        {"nothing fits",
         big,
         1000,
         true,
         8000000000,
         false,
         kFactoryMemory,
         {kMinimumMemoryMessage},
         2},
        {"too little memory at start-up",
         kFactoryMemory,
         INT64_MAX,
         true,
         11999999,
         false,
         kFactoryMemory,
         {kMinimumMemoryMessage},
         0},
        {"exactly the minimum",
         kFactoryMemory,
         INT64_MAX,
         true,
         12000001,
         true,
         kFactoryMemory,
         {},
         1},
        {"memory command skips the minimum check",
         kMinimalMemory,
         INT64_MAX,
         false,
         11999999,
         true,
         kMinimalMemory,
         {},
         1},
        {"unknown total",
         kFactoryMemory,
         INT64_MAX,
         true,
         std::nullopt,
         true,
         kFactoryMemory,
         {},
         1},
        {"settings out of range",
         {0, -5, 400},
         INT64_MAX,
         true,
         8000000000,
         true,
         kFactoryMemory,
         {kMemoryResetMessage},
         1},
    };
    for (const Case& c : cases) {
        FakeOwner owner(c.ownerLimit);
        MessageLog log;
        MemorySettings s = c.settings;
        EXPECT_EQ(allocateWithFallback(s, owner, c.startUp, c.total, log), c.ok) << c.what;
        EXPECT_EQ(s, c.after) << c.what;
        EXPECT_EQ(log.shown, c.messages) << c.what;
        EXPECT_EQ(owner.tried.size(), c.tries) << c.what;
        EXPECT_EQ(owner.allocated, c.ok) << c.what;
    }
}

TEST(SteppedMemory, AFailingStepReleasesEveryStep) {
    std::vector<std::string> calls;
    bool terrainFits = false;
    SteppedMemory memory;
    auto step = [&](std::string name, bool* fits) {
        return SteppedMemory::Step{[&calls, name, fits](const MemorySettings&) {
                                       calls.push_back("allocate " + name);
                                       return fits == nullptr || *fits;
                                   },
                                   [&calls, name] { calls.push_back("release " + name); }};
    };
    memory.addStep(step("objects", nullptr));
    memory.addStep(step("terrain", &terrainFits));
    memory.addStep(step("display", nullptr));

    EXPECT_FALSE(memory.allocate(kFactoryMemory));
    EXPECT_EQ(calls,
              (std::vector<std::string>{"allocate objects", "allocate terrain", "release objects",
                                        "release terrain", "release display"}));
    calls.clear();
    terrainFits = true;
    EXPECT_TRUE(memory.allocate(kFactoryMemory));
    EXPECT_EQ(calls, (std::vector<std::string>{"allocate objects", "allocate terrain",
                                               "allocate display"}));
}

} // namespace
} // namespace kv::app
