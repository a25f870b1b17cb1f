#include "app/follow/path_follower.h"
#include "common/unit_constants.h"
#include "model/object_record.h"

#include <cmath>
#include <gtest/gtest.h>

namespace kv::app {
namespace {

FollowPath straightNorth(double length) {
    FollowPath path;
    path.points = {PathPoint{}, PathPoint{}};
    path.points[1].north = length;
    return path;
}

TEST(PathFollower, MeasuresThePathAndInterpolatesAlongIt) {
    FollowPath path;
    path.hasHeights = true;
    path.points.resize(3);
    path.points[1].north = 30.0;
    path.points[1].up = 10.0;
    path.points[2].north = 30.0;
    path.points[2].east = 40.0;
    path.points[2].up = 50.0;
    const PathFollower follower(path, {});
    EXPECT_DOUBLE_EQ(follower.length(), 70.0);
    const PathPoint p = follower.pointAt(50.0);
    EXPECT_DOUBLE_EQ(p.north, 30.0);
    EXPECT_DOUBLE_EQ(p.east, 20.0);
    EXPECT_DOUBLE_EQ(p.up, 30.0);
    EXPECT_DOUBLE_EQ(follower.pointAt(-5.0).north, 0.0);
    EXPECT_DOUBLE_EQ(follower.pointAt(500.0).east, 40.0);
}

TEST(PathFollower, ACarThatGetsNowhereIsGivenUpWithItsLargestError) {
    PathFollower follower(straightNorth(300.0), {});
    FollowerView v;
    v.vehicleType = model::kVehicleCar;
    v.east = 20.0; // beside the path, and it never moves
    sim::ControlRecord c;
    int frames = 0;
    for (; frames < 100000 && !follower.finished(); ++frames) {
        v.time = frames / 12.0;
        c = follower.step(v);
        if (frames == 0) {
            EXPECT_LT(c.stickY, 0.0f); // throttle to get going
            EXPECT_LT(c.stickX, 0.0f); // steering left, back to the path
        }
    }
    ASSERT_TRUE(follower.finished());
    EXPECT_LT(frames, 12 * 400); // well within the time it allowed itself
    EXPECT_EQ(c.stickY, 1.0f);   // and then it holds the brake
    const FollowReport r = follower.report();
    EXPECT_TRUE(r.gaveUp);
    EXPECT_FALSE(r.reachedEnd);
    EXPECT_DOUBLE_EQ(r.worstCrossTrack, 20.0);
    EXPECT_EQ(followProblemMessage(r, kFeetPerMetre),
              "The vehicle could not follow the path. The largest error was 6.1 m, after point 1.");
}

TEST(PathFollower, PilotsUseTheirKeysWhereAPersonWould) {
    // The aircraft's autopilot is engaged with Q once its instruments have read
    // the flight (not on the very first frame).
    {
        PathFollower follower(straightNorth(50000.0), {});
        FollowerView v;
        v.vehicleType = model::kVehicleAircraft;
        v.up = 5000.0;
        v.velocityNorth = v.forwardSpeed = 250.0;
        EXPECT_EQ(follower.step(v).command, 0);
        v.time = 1.0 / 12.0;
        EXPECT_EQ(follower.step(v).command, 1);
    }
    // The helicopter on the ground with its lever at 0 (2000 ft/min down)
    // raises the lever with S toward a climb to the path's height.
    {
        FollowPath path = straightNorth(300.0);
        path.hasHeights = true;
        path.points[0].up = path.points[1].up = 100.0;
        PathFollower follower(path, {});
        FollowerView v;
        v.vehicleType = model::kVehicleHelicopter;
        v.onGround = true;
        v.autopilotEngaged = true;
        const sim::ControlRecord c = follower.step(v);
        EXPECT_EQ(c.command, 6);
        v.throttleLever = 1.0;
        v.time = 0.1;
        v.up = 300.0; // far above: lever down with X
        EXPECT_EQ(follower.step(v).command, 5);
        // Its hover autopilot found switched off is switched on with Q.
        v.autopilotEngaged = false;
        v.time = 0.2;
        EXPECT_EQ(follower.step(v).command, 1);
    }
}

} // namespace
} // namespace kv::app

namespace kv::app {
namespace {

TEST(PathFollower, TheAircraftSetsItsHeldSpeedWithTheThrottleKeys) {
    // Engaged at 200 knots: the held speed spans 100 to 400 knots over the
    // lever, now at 1/3. Asked for 250 knots, it presses S; for 150, X.
    for (const auto& [knots, key] : {std::pair{250.0, 6}, std::pair{150.0, 5}}) {
        FollowSettings settings;
        settings.cruiseSpeed = knots * double(kFpsPerKnot);
        PathFollower follower(straightNorth(50000.0), settings);
        FollowerView v;
        v.vehicleType = model::kVehicleAircraft;
        v.up = 5000.0;
        v.velocityNorth = v.forwardSpeed = 200.0 * double(kFpsPerKnot);
        v.autopilotEngaged = true;
        v.heldSpeedLow = 100.0;
        v.heldSpeedHigh = 400.0;
        v.throttleLever = 1.0 / 3.0;
        EXPECT_EQ(follower.step(v).command, key) << knots;
        v.throttleLever = (knots - 100.0) / 300.0; // there: no key
        v.time = 0.1;
        EXPECT_EQ(follower.step(v).command, 0) << knots;
    }
}

} // namespace
} // namespace kv::app
