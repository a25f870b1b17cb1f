#include "app/windows/progress_timing.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace kv::app {
namespace {

/// A clock the test sets by hand.
class ManualClock final : public ClockPort {
  public:
    double now = 0.0;
    int restarts = 0;
    double elapsed() override { return now; }
    void restart() override {
        now = 0.0;
        ++restarts;
    }
    bool waitUntil(double period) override {
        now = period;
        return false;
    }
};

/// Records what the display does to its window; ESC presses are queued by the test.
class RecordingWindow final : public ProgressWindow {
  public:
    std::vector<std::string> calls;
    int escapes = 0;
    bool open_ = false;
    void open(std::string_view label, std::string_view second) override {
        calls.push_back("open " + std::string(label) + "|" + std::string(second));
        open_ = true;
    }
    void setPercent(int p) override { calls.push_back("percent " + std::to_string(p)); }
    bool takeEscapePress() override {
        calls.push_back("poll");
        if (escapes > 0) {
            --escapes;
            return true;
        }
        return false;
    }
    void close() override {
        calls.push_back("close");
        open_ = false;
    }
};

struct ProgressDisplayTest : ::testing::Test {
    ManualClock clock;
    RecordingWindow window;
    ProgressDisplay display{clock, window};
};

TEST(ProgressRule, QuietTimeAndRate) {
    struct Case {
        double t, fraction;
        bool due;
    };
    const Case cases[] = {
        {0.2, 0.5, false},                     // 2.5 per second: will be done soon
        {0.2, 0.1, true},                      // 0.5 per second
        {0.1, 0.0, false},                     // still in the quiet time
        {0.05, 0.0, false}, {1.0, 1.19, true}, // just below the fast rate
        {1.0, 1.2, false},                     // at the fast rate
        {0.11, 0.0, true},
    };
    for (const Case& c : cases)
        EXPECT_EQ(progressWindowDue(c.t, c.fraction), c.due) << c.t;
}

TEST(ProgressRule, EscapeByLabel) {
    EXPECT_TRUE(progressLabelAllowsEscape("Reading Scenery Polygons:"));
    EXPECT_TRUE(progressLabelAllowsEscape("Reading Terrain Polygons:"));
    EXPECT_TRUE(progressLabelAllowsEscape("Sorting Terrain Polygons:"));
    EXPECT_FALSE(progressLabelAllowsEscape("Building Terrain:"));
    EXPECT_FALSE(progressLabelAllowsEscape("Building Scenery:"));
    EXPECT_FALSE(progressLabelAllowsEscape("Smoothing Normals:"));
}

TEST_F(ProgressDisplayTest, FastJobShowsNothing) {
    EXPECT_TRUE(display.show(ProgressMode::Start, true, "Reading Scenery Polygons:", 0.0));
    EXPECT_EQ(clock.restarts, 1);
    clock.now = 0.2;
    EXPECT_TRUE(display.show(ProgressMode::Update, true, "Reading Scenery Polygons:", 0.5));
    EXPECT_FALSE(display.shown());
    EXPECT_TRUE(display.show(ProgressMode::Finish, true, "Reading Scenery Polygons:", 1.0));
    EXPECT_TRUE(window.calls.empty());
}

TEST_F(ProgressDisplayTest, SlowJobOpensMovesAndClosesTheWindow) {
    display.show(ProgressMode::Start, true, "Reading Terrain Polygons:", 0.0);
    clock.now = 0.2;
    EXPECT_TRUE(display.show(ProgressMode::Update, true, "Reading Terrain Polygons:", 0.1));
    EXPECT_TRUE(display.shown());
    clock.now = 0.3;
    EXPECT_TRUE(display.show(ProgressMode::Update, true, "Reading Terrain Polygons:", 0.257));
    EXPECT_TRUE(display.show(ProgressMode::Finish, true, "Reading Terrain Polygons:", 1.0));
    EXPECT_FALSE(display.shown());
    const std::vector<std::string> expected{"open Reading Terrain Polygons:|Press ESC to Abort",
                                            "percent 10",
                                            "poll",
                                            "percent 25",
                                            "poll",
                                            "percent 100",
                                            "poll",
                                            "close"};
    EXPECT_EQ(window.calls, expected);
}

TEST_F(ProgressDisplayTest, NoEscapeLineWithoutTheEscFlag) {
    display.show(ProgressMode::Start, false, "Building Terrain:", 0.0);
    clock.now = 1.0;
    window.escapes = 1;
    // ESC is taken and discarded: the job goes on.
    EXPECT_TRUE(display.show(ProgressMode::Update, false, "Building Terrain:", 0.3));
    ASSERT_FALSE(window.calls.empty());
    EXPECT_EQ(window.calls.front(), "open Building Terrain:|");
    EXPECT_EQ(window.escapes, 0);
}

TEST_F(ProgressDisplayTest, EscapeAbortsAndClosesTheWindow) {
    display.show(ProgressMode::Start, true, "Reading Scenery Polygons:", 0.0);
    clock.now = 0.5;
    EXPECT_TRUE(display.show(ProgressMode::Update, true, "Reading Scenery Polygons:", 0.1));
    window.escapes = 1;
    EXPECT_FALSE(display.show(ProgressMode::Update, true, "Reading Scenery Polygons:", 0.2));
    EXPECT_FALSE(window.open_);
    // The caller's finish after an abort creates nothing.
    const auto before = window.calls.size();
    EXPECT_TRUE(display.show(ProgressMode::Finish, true, "Reading Scenery Polygons:", 0.2));
    EXPECT_EQ(window.calls.size(), before);
}

TEST_F(ProgressDisplayTest, EscapeBeforeTheWindowIsShownIsNotSeen) {
    display.show(ProgressMode::Start, true, "Reading Scenery Polygons:", 0.0);
    window.escapes = 1;
    clock.now = 0.05;
    EXPECT_TRUE(display.show(ProgressMode::Update, true, "Reading Scenery Polygons:", 0.01));
    EXPECT_EQ(window.escapes, 1);
}

TEST_F(ProgressDisplayTest, NewStartClosesAnUnfinishedWindow) {
    display.show(ProgressMode::Start, true, "Reading Scenery Polygons:", 0.0);
    clock.now = 0.5;
    display.show(ProgressMode::Update, true, "Reading Scenery Polygons:", 0.1);
    ASSERT_TRUE(window.open_);
    display.show(ProgressMode::Start, true, "Sorting Terrain Polygons:", 0.0);
    EXPECT_FALSE(window.open_);
    EXPECT_FALSE(display.shown());
}

TEST_F(ProgressDisplayTest, FractionIsClampedForTheBar) {
    display.show(ProgressMode::Start, true, "x", 0.0);
    clock.now = 10.0;
    display.show(ProgressMode::Update, true, "x", -0.5);
    display.show(ProgressMode::Update, true, "x", 7.0);
    EXPECT_EQ(window.calls[1], "percent 0");
    EXPECT_EQ(window.calls[3], "percent 100");
    EXPECT_DOUBLE_EQ(display.lastFraction(), 1.0);
}

TEST_F(ProgressDisplayTest, PortAdapterFollowsTheLabelRule) {
    ProgressPortDisplay port(display);
    port.start("Smoothing Normals:");
    clock.now = 2.0;
    window.escapes = 1;
    EXPECT_TRUE(port.update(0.5));
    EXPECT_EQ(window.calls.front(), "open Smoothing Normals:|");
    port.finish();
    EXPECT_EQ(window.calls.back(), "close");

    window.calls.clear();
    port.start("Reading Terrain Polygons:");
    clock.now = 2.0;
    EXPECT_TRUE(port.update(0.1));
    window.escapes = 1;
    EXPECT_FALSE(port.update(0.2));
    EXPECT_EQ(window.calls.front(), "open Reading Terrain Polygons:|Press ESC to Abort");
}

} // namespace
} // namespace kv::app
