// The host-free conversion source shared by the plug-in and kestrovane-cli.

#include "load/lws_convert.h"

#include <cmath>
#include <gtest/gtest.h>

namespace kv::lws {
namespace {

struct NameCase {
    std::string motion;
    std::string base;
    std::string scene;
};

class SceneNames : public ::testing::TestWithParam<NameCase> {};

TEST_P(SceneNames, BaseNameAndScenePathComeFromTheFileName) {
    const NameCase c = GetParam();
    EXPECT_EQ(sceneBaseName(c.motion), c.base);
    EXPECT_EQ(scenePathFor(c.motion), c.scene);
}

INSTANTIATE_TEST_SUITE_P(
    Paths, SceneNames,
    ::testing::Values(NameCase{"C:\\Motions\\run.kvm", "run", "C:\\Motions\\run.lws"},
                      NameCase{"C:\\Motions\\run.take2.kvm", "run", "C:\\Motions\\run.lws"},
                      NameCase{"/home/ann/motions/run.kvm", "run", "/home/ann/motions/run.lws"},
                      // A full stop in a folder name does not cut the path there.
                      NameCase{"C:\\My.Motions\\run.kvm", "run", "C:\\My.Motions\\run.lws"},
                      NameCase{"/tmp/v1.2/heli.kvm", "heli", "/tmp/v1.2/heli.lws"},
                      NameCase{"plain", "plain", "plain.lws"},
                      NameCase{"mixed\\sub/car.kvm", "car", "mixed\\sub/car.lws"}));

TEST(SceneSettingsCheck, FirstUnusableSettingGivesItsMessage) {
    EXPECT_EQ(settingsProblem({}), "");
    EXPECT_EQ(settingsProblem({0, 0, -1}), "Frame skip must be greater than 0");
    EXPECT_EQ(settingsProblem({1, 0, -1}), "Time scale must be greater than 0%");
    EXPECT_EQ(settingsProblem({1, NAN, 0}), "Time scale must be greater than 0%");
    EXPECT_EQ(settingsProblem({1, 1, -1}), "Time offset must be greater than 0 seconds");
    EXPECT_EQ(settingsProblem({1, 1, NAN}), "Time offset must be greater than 0 seconds");
    EXPECT_EQ(settingsProblem({1, 1, 0}), "");
}

TEST(SceneFrameRate, OnlyAPositiveFiniteRateCanBeKeyed) {
    EXPECT_EQ(frameRateProblem(30.0), "");
    EXPECT_EQ(frameRateProblem(0.001), "");
    for (double bad : {0.0, -24.0, double(NAN), double(INFINITY)}) {
        EXPECT_NE(frameRateProblem(bad), "") << bad;
    }
}

} // namespace
} // namespace kv::lws
