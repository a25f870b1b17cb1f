// The elapsed-time overlay and the default child-window layout.
#include "app/render/status_overlay.h"
#include "app/windows/status_window_layout.h"

#include <gtest/gtest.h>
#include <limits>

namespace kv::app {
namespace {

TEST(StatusOverlay, ElapsedTimeRoundsToWholeSeconds) {
    struct Case {
        double t;
        const char* text;
    };
    const Case cases[] = {
        {0.0, "00:00"},    {0.49, "00:00"}, {0.5, "00:01"},
        {59.4, "00:59"},   {59.6, "01:00"}, {61.0, "01:01"},
        {3599.5, "60:00"}, {-3.0, "00:00"}, {std::numeric_limits<double>::quiet_NaN(), "00:00"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(elapsedTimeText(c.t), c.text) << c.t;
    EXPECT_EQ(elapsedTimeText(1e300), "99999:00");
}

TEST(StatusOverlay, SlowAddsRedWordAndTimeStaysWhite) {
    const auto normal = statusOverlay(12.0, false, 300);
    ASSERT_EQ(normal.size(), 1u);
    EXPECT_EQ(normal[0].text, "00:12");
    EXPECT_EQ(normal[0].x, 10);
    EXPECT_EQ(normal[0].y, 245);

    const auto slow = statusOverlay(12.0, true, 300);
    ASSERT_EQ(slow.size(), 2u);
    EXPECT_EQ(slow[0].red, 255);
    EXPECT_EQ(slow[0].green, 255);
    EXPECT_EQ(slow[0].blue, 255);
    EXPECT_EQ(slow[1].text, "Slow");
    EXPECT_EQ(slow[1].x, 45);
    EXPECT_EQ(slow[1].y, 245);
    EXPECT_EQ(slow[1].red, 255);
    EXPECT_EQ(slow[1].green, 0);
    EXPECT_EQ(slow[1].blue, 0);
}

ScreenMetrics screen(int w, int h) {
    ScreenMetrics s;
    s.width = w;
    s.height = h;
    s.resizable = {10, 30};
    s.fixed = {6, 26};
    return s;
}

TEST(WindowLayout, Margin) {
    EXPECT_EQ(layoutMargin(1280), 30);
    EXPECT_EQ(layoutMargin(1024), 20);
    EXPECT_EQ(layoutMargin(800), 11); // 31.25 - 20, truncated
    EXPECT_EQ(layoutMargin(300), 0);  // never negative
}

TEST(WindowLayout, ResetOnA1280By1024Screen) {
    const WindowLayout l = resetWindowLayout(screen(1280, 1024), 1.3333f, false, {});
    // Client 400 x 300 (400 / 1.3333 = 300.0075).
    EXPECT_EQ(l.camera, (WindowRect{435, 30, 410, 330}));
    EXPECT_EQ(l.panel, (WindowRect{640 - 203, 512 - 30, 406, 326}));
    EXPECT_EQ(l.project, (WindowRect{30, 30, 210, 330}));
}

TEST(WindowLayout, PanelStartsBelowTheCameraOnAShortFrame) {
    // The frame of a 1024 x 768 screen: 727 high inside the menu and status bars.
    // Camera 20..350; the panel's own rule would put it at 727 / 2 - 20 = 343.
    const WindowLayout l = resetWindowLayout(screen(1024, 727), 1.3333f, false, {});
    EXPECT_EQ(l.camera, (WindowRect{307, 20, 410, 330}));
    EXPECT_EQ(l.panel.y, 350);
    EXPECT_EQ(l.panel.x, 512 - 203);
}

TEST(WindowLayout, NarrowScreenLimitsTheCameraWidth) {
    const CameraWindowSize s = cameraWindowSize(screen(800, 600), 2.0f);
    // 800 x 0.390625 = 312.5 -> 312 client, height 156.25 + 30.
    EXPECT_EQ(s.width, 322);
    EXPECT_EQ(s.height, 186);
    EXPECT_FALSE(s.heightCut);
}

TEST(WindowLayout, TallAspectCutsTheHeight) {
    // Limit 600 - 5 x 20 = 500; client height 500 - 30 = 470, width 470 x 0.5 + 10.
    const ScreenMetrics sm = screen(1024, 600);
    const CameraWindowSize s = cameraWindowSize(sm, 0.5f);
    EXPECT_TRUE(s.heightCut);
    EXPECT_EQ(s.height, 500);
    EXPECT_EQ(s.width, 245);
    const WindowRect moved = cameraAfterAspectChange(sm, 0.5f, false, {5, 7, 100, 100});
    EXPECT_EQ(moved, (WindowRect{(1024 - 245) / 2, 20, 245, 500}));
}

TEST(WindowLayout, AspectChangeKeepsTheCornerWhenNotCut) {
    const WindowRect r = cameraAfterAspectChange(screen(1280, 1024), 2.0f, false, {5, 7, 1, 1});
    EXPECT_EQ(r, (WindowRect{5, 7, 410, 230}));
    const WindowRect kept = cameraAfterAspectChange(screen(1280, 1024), 2.0f, true, {5, 7, 1, 1});
    EXPECT_EQ(kept, (WindowRect{5, 7, 1, 1}));
}

TEST(WindowLayout, WindowAspectKeepsCameraSizeButCentresIt) {
    const WindowLayout l = resetWindowLayout(screen(1280, 1024), 1.3333f, true, {3, 4, 500, 200});
    EXPECT_EQ(l.camera, (WindowRect{390, 30, 500, 200}));
}

TEST(WindowLayout, DegenerateInputsStayUsable) {
    const CameraWindowSize bad = cameraWindowSize(screen(1280, 1024), 0.0f);
    EXPECT_EQ(bad.width, 410);
    EXPECT_EQ(bad.height, 330);
    const CameraWindowSize tiny = cameraWindowSize(screen(200, 20), 1.3333f);
    EXPECT_TRUE(tiny.heightCut);
    EXPECT_GT(tiny.height, 30);
    EXPECT_GT(tiny.width, 10);
}

} // namespace
} // namespace kv::app
