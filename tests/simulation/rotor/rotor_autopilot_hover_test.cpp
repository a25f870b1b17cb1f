// Scenario: the Helicopter template in hover at 100 ft through the run loop,
// flown by its autopilot (engaged from the start) with the stick centred.

#include "rotor_fixtures.h"
#include "simulation/scenario_run.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <gtest/gtest.h>
#include <string>

namespace kv::sim {
namespace {

using test::ScenarioRun;

struct Hover {
    int frames = 0;
    bool unstable = false;
    bool finite = true;
    bool engaged = true;
    float maxAltitudeError = 0.0f; ///< ft
    float maxTilt = 0.0f;          ///< largest |roll| or |pitch| (deg)
    float maxDrift = 0.0f;         ///< largest horizontal distance from the start (ft)
    float finalClimbRate = 0.0f;   ///< ft/s
};

/// The Helicopter template at 100 ft, collective at its hover trim, left to
/// the autopilot for `seconds`; `sink` (ft/s) and `rollRate` (deg/s) disturb
/// the start.
Hover hover(float seconds, float sink = 0.0f, float rollRate = 0.0f) {
    model::ObjectRecord r = test::helicopterRecord(100.0f);
    r.initial.velocity = {0.0f, 0.0f, sink};
    r.initial.rates = {rollRate, 0.0f, 0.0f};
    ScenarioRun run(r, false);
    run.settings().initialControls.channels[kCollective] = 0.2f;
    Hover h;
    const auto controller = [](int, const SimObject&, ControlRecord&) {};
    const auto watcher = [&](int, const SimObject& obj) {
        if (!std::isfinite(obj.state.altitude)) {
            h.finite = false;
            return false;
        }
        h.engaged = h.engaged && obj.controls.autopilotEngaged == 1;
        h.maxAltitudeError = std::max(h.maxAltitudeError, std::fabs(obj.state.altitude - 100.0f));
        h.maxTilt = std::max(
            {h.maxTilt, std::fabs(obj.roll) * kDegPerRad, std::fabs(obj.pitch) * kDegPerRad});
        h.maxDrift = std::max(h.maxDrift, test::groundDistance(obj.position, Vec3{}));
        return true;
    };
    h.frames = run.run(seconds, controller, watcher);
    h.unstable = run.unstable();
    h.finalClimbRate = run.object().climbRate;
    return h;
}

void print(const char* what, const Hover& h) {
    std::printf("helicopter hover at 100 ft on the autopilot, %s: %.1f s, altitude within %.2f ft, "
                "|roll|, |pitch| <= %.2f deg, drifted up to %.1f ft, climb rate %+.3f ft/s at the "
                "end\n",
                what, static_cast<double>(static_cast<float>(h.frames) * ScenarioRun::kFramePeriod),
                static_cast<double>(h.maxAltitudeError), static_cast<double>(h.maxTilt),
                static_cast<double>(h.maxDrift), static_cast<double>(h.finalClimbRate));
}

TEST(HelicopterScenario, AutopilotHoldsTheHoverWithinTenFeetForThirtySeconds) {
    const Hover still = hover(30.0f);
    print("from rest", still);
    ::testing::Test::RecordProperty("altitude_error_ft", std::to_string(still.maxAltitudeError));
    EXPECT_FALSE(still.unstable);
    EXPECT_TRUE(still.finite);
    EXPECT_TRUE(still.engaged);
    EXPECT_EQ(still.frames, 900);
    EXPECT_LT(still.maxAltitudeError, 10.0f);
    EXPECT_LT(still.maxTilt, 15.0f);

    // Started sinking at 2 ft/s and rolling at 5 deg/s it catches both.
    const Hover disturbed = hover(30.0f, 2.0f, 5.0f);
    print("started sinking and rolling", disturbed);
    EXPECT_FALSE(disturbed.unstable);
    EXPECT_TRUE(disturbed.finite);
    EXPECT_EQ(disturbed.frames, 900);
    EXPECT_LT(disturbed.maxAltitudeError, 10.0f);
    EXPECT_LT(disturbed.maxTilt, 15.0f);
    EXPECT_LT(std::fabs(disturbed.finalClimbRate), 0.5f);
}

} // namespace
} // namespace kv::sim
