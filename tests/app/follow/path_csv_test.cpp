#include "app/follow/path_csv.h"
#include "common/unit_constants.h"

#include <gtest/gtest.h>

namespace kv::app {
namespace {

TEST(PathCsv, ReadsEveryHeaderFormInWorkingUnits) {
    FollowPath path;
    std::string error;
    // Metres (the stored factor of the working unit) and km/h.
    ASSERT_TRUE(parsePathCsv("North, East, Up, Speed\n0,0,10,36\n100,-50,20,72\n", kFeetPerMetre,
                             path, error))
        << error;
    ASSERT_EQ(path.points.size(), 2u);
    EXPECT_TRUE(path.hasHeights);
    EXPECT_EQ(path.timing, PathTiming::Speeds);
    EXPECT_NEAR(path.points[1].north, 100.0 * double(kFeetPerMetre), 1e-9);
    EXPECT_NEAR(path.points[1].east, -50.0 * double(kFeetPerMetre), 1e-9);
    EXPECT_NEAR(path.points[1].up, 20.0 * double(kFeetPerMetre), 1e-9);
    EXPECT_NEAR(path.points[0].speed, 36.0 * double(kFpsPerKph), 1e-4);

    // Feet and mph; times instead of speeds; no heights.
    ASSERT_TRUE(
        parsePathCsv("north,east,time\r\n0,0,0\r\n\r\n300,0,10.5\r\n", kFeetPerFoot, path, error))
        << error;
    EXPECT_FALSE(path.hasHeights);
    EXPECT_EQ(path.timing, PathTiming::Times);
    EXPECT_DOUBLE_EQ(path.points[1].north, 300.0);
    EXPECT_DOUBLE_EQ(path.points[1].time, 10.5);
    EXPECT_TRUE(path.points[1].timed);

    ASSERT_TRUE(parsePathCsv("north,east,speed\n0,0,30\n1,0,30\n", kFeetPerFoot, path, error));
    EXPECT_NEAR(path.points[0].speed, 30.0 * double(kFpsPerMph), 1e-4);
}

TEST(PathCsv, PointsWithoutTheirOwnSpeedOrTimeFollowTheirNeighbours) {
    FollowPath path;
    std::string error;
    ASSERT_TRUE(parsePathCsv("north,east,speed\n0,0,\n0,100,10\n0,200,\n0,300,30\n0,400,\n",
                             kFeetPerFoot, path, error))
        << error;
    const double mph = double(kFpsPerMph);
    EXPECT_NEAR(path.points[0].speed, 10.0 * mph, 1e-4); // before the first: the first
    EXPECT_NEAR(path.points[2].speed, 20.0 * mph, 1e-4); // halfway between 10 and 30
    EXPECT_NEAR(path.points[4].speed, 30.0 * mph, 1e-4); // past the last: the last
    EXPECT_FALSE(path.points[2].timed);

    ASSERT_TRUE(
        parsePathCsv("north,east,time\n0,0,0\n50,0,\n100,0,8\n", kFeetPerFoot, path, error));
    EXPECT_FALSE(path.points[1].timed);
    EXPECT_TRUE(path.points[2].timed);
}

TEST(PathCsv, RefusesWithTheLineAtFault) {
    struct Case {
        const char* text;
        const char* error;
    };
    const Case cases[] = {
        {"", "line 1: expected the header north,east[,up][,speed|,time]"},
        {"east,north\n0,0\n1,1\n", "line 1: expected the header"},
        {"north,east,speed,time\n0,0,1,1\n", "line 1: expected the header"},
        {"north,east,up\n0,0,0\n1,x,0\n", "line 3: east must be a number, not 'x'"},
        {"north,east\n0,0\n1,2,3\n", "line 3: expected 2 numbers as the header names, found 3"},
        {"north,east,speed\n0,0,-5\n1,1,5\n", "line 2: speed must be 0 or more"},
        {"north,east,time\n0,0,5\n1,1,5\n", "line 3: time must be 0 or more and later"},
        {"north,east\n0,0\n", "a path needs at least two points, this one has 1"},
        {"north,east\n", "a path needs at least two points, this one has 0"},
        {"north,east,time\n0,0,\n1,0,\n", "no point gives a time"},
        {"north,east\n1e300,0\n1,1\n", "line 2: north must be a number"},
        // A speed or time beyond single precision would reach the follower as infinity.
        {"north,east,speed\n0,0,5\n1,1,400000000000000000000000000000000000000\n",
         "line 3: speed is too large: '400000000000000000000000...'"},
        {"north,east,speed\n0,0,3.4e38\n1,1,5\n", "line 2: speed is too large"},
        {"north,east,time\n0,0,0\n1,1,1e39\n", "line 3: time is too large"},
    };
    for (const Case& c : cases) {
        FollowPath path;
        std::string error;
        EXPECT_FALSE(parsePathCsv(c.text, kFeetPerFoot, path, error)) << c.text;
        EXPECT_EQ(error.rfind(c.error, 0), 0u) << c.text << " gave: " << error;
    }
}

} // namespace
} // namespace kv::app
