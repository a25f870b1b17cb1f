#include "sim_fixtures.h"
#include "simulation/body/body_setup.h"
#include "simulation/frame_record.h"
#include "simulation/record_channels.h"

#include <bit>
#include <gtest/gtest.h>

namespace kv::sim {
namespace {

using namespace model;

TEST(FrameRecord, ConvertsUnitsAndCopiesChannelsBitForBit) {
    ObjectRecord r = test::freeBody(100.0f, 0.0f, 0.0f, 90.0f);
    r.initial.position = {10.0f, -20.0f, -100.0f};
    SimObject obj;
    setUpBody(obj, r);
    obj.frameTime = 1.5f;
    const float odd = std::bit_cast<float>(0x3F7FFFFFu); // just below 1
    obj.controls.channels[kThrottle] = odd;
    obj.controls.channels[kNozzle] = -0.25f;
    obj.controls.mainRotorAngle = 1.0f;
    obj.controls.tireSteer = odd;
    obj.controls.transmission = kReverse;
    obj.controls.externalForce = 1;
    obj.contact.tireCount = 2;
    obj.contact.compression = {0.1f, 0.2f, 0.3f};
    obj.contact.rollAngle = {1.0f, 2.0f, 3.0f};
    obj.contact.skid = {1.0f, 0.0f, 1.0f};
    obj.engine.tachometer = 0.75f;

    MotionFrame f;
    f.fill(99.0f);
    fillFrameRecord(obj, f);
    EXPECT_EQ(f[kFrameTime], 1.5f);
    for (int i = 1; i <= 5; ++i)
        EXPECT_EQ(f[static_cast<std::size_t>(i)], 99.0f); // not the fill's
    EXPECT_EQ(f[kFrameNorth], 10.0f * 0.3048037f);
    EXPECT_EQ(f[kFrameEast], -20.0f * 0.3048037f);
    EXPECT_EQ(f[kFrameDown], -100.0f * 0.3048037f);
    EXPECT_EQ(f[kFrameYaw], obj.yaw * 57.29578f);
    EXPECT_NEAR(f[kFrameYaw], 90.0f, 1e-4f);
    EXPECT_EQ(std::bit_cast<std::uint32_t>(f[kFrameControls + int{kThrottle}]), 0x3F7FFFFFu);
    EXPECT_EQ(f[kFrameControls + int{kNozzle}], -0.25f);
    EXPECT_EQ(f[kFrameMainRotor], 57.29578f);
    EXPECT_EQ(std::bit_cast<std::uint32_t>(f[kFrameTireSteer]), 0x3F7FFFFFu);
    EXPECT_EQ(f[kFrameGear], -1.0f);
    EXPECT_EQ(f[kFrameExternalForce], 1.0f);
    EXPECT_EQ(f[kFrameStrut + 1], 0.2f);
    EXPECT_EQ(f[kFrameStrut + 2], 0.0f); // beyond the tire count
    EXPECT_EQ(f[kFrameTireRoll + 1], 2.0f * 57.29578f);
    EXPECT_EQ(f[kFrameTireRoll + 2], 0.0f);
    EXPECT_EQ(f[kFrameSkid + 0], 1.0f);
    EXPECT_EQ(f[kFrameSkid + 2], 0.0f);
    EXPECT_EQ(f[kFrameSkid + 9], 0.0f);
    EXPECT_EQ(f[kFrameTachometer], 0.75f);
}

TEST(FrameRecord, ControlsAndCameraFields) {
    MotionFrame f{};
    ControlRecord c;
    c.command = 12;
    c.buttonA = 0;
    c.buttonB = 1;
    c.stickX = -0.5f;
    c.stickY = 0.75f;
    copyControlsToFrame(c, f);
    EXPECT_EQ(f[kFrameStickX], -0.5f);
    EXPECT_EQ(f[kFrameStickY], 0.75f);
    EXPECT_EQ(f[kFrameButtonA], 0.0f);
    EXPECT_EQ(f[kFrameButtonB], 1.0f);
    EXPECT_EQ(f[kFrameKeyCommand], 12.0f);

    CameraRecord cam;
    cam.position = {1.0f, 2.0f, 3.0f};
    cam.angles = {4.0f, 5.0f, 6.0f};
    fillCameraFrame(cam, 2.5f, f);
    EXPECT_EQ(f[kFrameTime], 2.5f);
    EXPECT_EQ(f[kFrameEast], 2.0f);
    EXPECT_EQ(f[kFramePitch], 5.0f);
    EXPECT_EQ(f[kFrameStickX], -0.5f); // untouched
}

TEST(RecordChannels, AppendUntilFullAndKeepMatchingBuffers) {
    RecordChannels ch;
    MotionFrame f{};
    EXPECT_TRUE(recordFrame(ch, 0, f)); // no memory: success, nothing stored
    EXPECT_EQ(ch.channels[0].count, 0);
    EXPECT_FALSE(ch.allocate(1));
    EXPECT_FALSE(ch.allocated);
    ASSERT_TRUE(ch.allocate(2));
    f[0] = 1.0f;
    EXPECT_TRUE(recordFrame(ch, 1, f));
    EXPECT_TRUE(recordFrame(ch, 1, f));
    EXPECT_FALSE(recordFrame(ch, 1, f));
    EXPECT_EQ(ch.channels[1].count, 2);
    EXPECT_TRUE(ch.allocate(2)); // same capacity: frames kept
    EXPECT_EQ(ch.channels[1].count, 2);
    EXPECT_EQ(ch.channels[1].frames[1][0], 1.0f);
    EXPECT_TRUE(ch.allocate(3));
    EXPECT_EQ(ch.channels[1].count, 0);
    EXPECT_EQ(ch.channels[1].frames.size(), 3u);
    ch.release();
    EXPECT_FALSE(ch.allocated);
    EXPECT_TRUE(ch.channels[2].frames.empty());
}

} // namespace
} // namespace kv::sim
