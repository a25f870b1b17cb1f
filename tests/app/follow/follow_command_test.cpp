#include "app/follow/follow_command.h"
#include "common/unit_constants.h"
#include "support/file_test_support.h"

#include <fstream>
#include <gtest/gtest.h>

namespace kv::app {
namespace {

TEST(FollowCommand, AsksForACsvOrDxfPathAndDrawsItInSceneMetres) {
    const FileRequest r = followPathRequest();
    EXPECT_EQ(r.title, "Follow Path:");
    EXPECT_NE(r.filter.find("*.csv"), std::string::npos);
    EXPECT_NE(r.filter.find("*.dxf"), std::string::npos);
    EXPECT_FALSE(r.save);

    filetest::ScratchDir dir;
    std::ofstream(dir / "p.csv") << "north,east,up\n0,0,10\n100,50,20\n";
    FollowPath path;
    std::string error;
    ASSERT_TRUE(readPathToFollow(dir / "p.csv", kFeetPerFoot, path, error)) << error;
    const std::vector<Vec3> line = pathLineOf(path);
    ASSERT_EQ(line.size(), 2u);
    EXPECT_FLOAT_EQ(line[1][0], static_cast<float>(100.0 * kMetresPerFootD));
    EXPECT_FLOAT_EQ(line[1][1], static_cast<float>(50.0 * kMetresPerFootD));
    EXPECT_FLOAT_EQ(line[1][2], static_cast<float>(-20.0 * kMetresPerFootD)); // up is -down

    // A ground path lies just above the ground plane.
    std::ofstream(dir / "g.csv") << "north,east\n0,0\n1,1\n";
    ASSERT_TRUE(readPathToFollow(dir / "g.csv", kFeetPerMetre, path, error)) << error;
    EXPECT_FLOAT_EQ(pathLineOf(path)[0][2], -kGroundPathLift);

    EXPECT_FALSE(readPathToFollow(dir / "p.txt", kFeetPerFoot, path, error));
    EXPECT_EQ(error, (dir / "p.txt").string() + ": a path is read from a .csv or a .dxf file");
}

} // namespace
} // namespace kv::app
