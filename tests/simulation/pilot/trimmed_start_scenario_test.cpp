// Scenario: aircraft and helicopters started in the air through the run loop,
// trimmed or not, with the autopilot key pressed as a user would press it.

#include "simulation/pilot/pilot_stages.h"
#include "simulation/scenario_run.h"
#include "simulation/trim/start_trim.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <gtest/gtest.h>

namespace kv::sim {
namespace {

using test::ScenarioRun;

constexpr float kAltitude = 5000.0f;                // ft
constexpr float kSpeedKnots = 250.0f;               // knots
constexpr float kSpeed = kSpeedKnots * kFpsPerKnot; // ft/s
constexpr float kHoverHeight = 100.0f;              // ft

struct Flight {
    bool unstable = false;
    int frames = 0;
    float maxAltitudeError = 0.0f;  ///< ft, whole run
    float lateAltitudeError = 0.0f; ///< ft, from `lateFrom` on
    float lowest = 1e9f;            ///< ft
    float maxDrift = 0.0f;          ///< horizontal distance from the start (ft)
    float endSpeedKnots = 0.0f;     ///< indicated airspeed at the end
    float maxSpeedError = 0.0f;     ///< knots, from `lateFrom` on
    float startPitch = 0.0f;        ///< deg
    TrimOutcome trim = TrimOutcome::Untrimmed;
    int messages = 0;
};

/// Runs `record` for `seconds` with the autopilot key pressed on each frame
/// of `qFrames` (30 frames a second); the late figures count from `lateFrom` s.
Flight fly(const model::ObjectRecord& record, bool trimmed, std::vector<int> qFrames, float seconds,
           float lateFrom, float altitude, float speedKnots = 0.0f) {
    ScenarioRun run(record, false);
    run.settings().trimmedStart = trimmed;
    Flight f;
    const auto controller = [&](int frame, const SimObject&, ControlRecord& raw) {
        if (std::find(qFrames.begin(), qFrames.end(), frame) != qFrames.end())
            raw.command = kKeyAutopilot;
    };
    const auto watcher = [&](int frame, const SimObject& obj) {
        const float t = static_cast<float>(frame + 1) * ScenarioRun::kFramePeriod;
        if (frame == 0)
            f.startPitch = obj.pitch * kDegPerRad;
        const float error = std::fabs(obj.state.altitude - altitude);
        f.maxAltitudeError = std::max(f.maxAltitudeError, error);
        f.lowest = std::min(f.lowest, obj.state.altitude);
        f.maxDrift = std::max(f.maxDrift, test::groundDistance(obj.position, Vec3{}));
        if (t >= lateFrom) {
            f.lateAltitudeError = std::max(f.lateAltitudeError, error);
            f.maxSpeedError =
                std::max(f.maxSpeedError, std::fabs(obj.airspeed * kKnotsPerFps - speedKnots));
        }
        f.endSpeedKnots = obj.airspeed * kKnotsPerFps;
        return std::isfinite(obj.state.altitude);
    };
    f.frames = run.run(seconds, controller, watcher);
    f.unstable = run.unstable();
    f.trim = run.state().slots[0].trim.outcome;
    f.messages = static_cast<int>(run.messages.messages.size());
    return f;
}

model::ObjectRecord cruisingAircraft(float speed = kSpeed) {
    model::ObjectRecord r = test::vehicleTemplate(model::kVehicleAircraft);
    r.initial.position = {0.0f, 0.0f, -kAltitude};
    r.initial.attitude = {0.0f, 0.0f, 0.0f};
    r.initial.velocity = {speed, 0.0f, 0.0f};
    r.initial.rates = {};
    return r;
}

model::ObjectRecord hoveringHelicopter() {
    model::ObjectRecord r = test::vehicleTemplate(model::kVehicleHelicopter);
    r.initial.position = {0.0f, 0.0f, -kHoverHeight};
    r.initial.attitude = {0.0f, 0.0f, 0.0f};
    r.initial.velocity = {};
    r.initial.rates = {};
    return r;
}

void print(const char* what, const Flight& f, float lateFrom) {
    std::printf("%s: %.1f s, start pitch %.2f deg, altitude within %.1f ft (within %.1f ft "
                "from %.0f s), lowest %.1f ft, drift %.1f ft, speed %.1f kt at the end\n",
                what, static_cast<double>(static_cast<float>(f.frames) * ScenarioRun::kFramePeriod),
                static_cast<double>(f.startPitch), static_cast<double>(f.maxAltitudeError),
                static_cast<double>(f.lateAltitudeError), static_cast<double>(lateFrom),
                static_cast<double>(f.lowest), static_cast<double>(f.maxDrift),
                static_cast<double>(f.endSpeedKnots));
}

/// Q half a second in: frame 14 ends at 0.5 s.
constexpr int kHalfSecond = 14;

TEST(TrimmedStart, AircraftAt250KnotsHoldsItsAltitudeWhenTheAutopilotComesOnAtHalfASecond) {
    const Flight loose = fly(cruisingAircraft(), false, {kHalfSecond}, 60.0f, 30.0f, kAltitude);
    print("aircraft 250 kt, 5000 ft, untrimmed, Q at 0.5 s", loose, 30.0f);
    const Flight trimmed = fly(cruisingAircraft(), true, {kHalfSecond}, 60.0f, 30.0f, kAltitude);
    print("aircraft 250 kt, 5000 ft, trimmed,   Q at 0.5 s", trimmed, 30.0f);
    const Flight handsOff = fly(cruisingAircraft(), true, {}, 60.0f, 30.0f, kAltitude);
    print("aircraft 250 kt, 5000 ft, trimmed,   hands off ", handsOff, 30.0f);

    EXPECT_GT(loose.maxAltitudeError, 100.0f) << "untrimmed, it dives before the autopilot";
    EXPECT_EQ(trimmed.trim, TrimOutcome::Trimmed);
    EXPECT_EQ(trimmed.messages, 0);
    EXPECT_FALSE(trimmed.unstable);
    EXPECT_EQ(trimmed.frames, 1800);
    EXPECT_GT(trimmed.startPitch, 1.0f) << "level flight needs its angle of attack";
    EXPECT_LT(trimmed.maxAltitudeError, 25.0f);
    EXPECT_LT(trimmed.lateAltitudeError, 10.0f);
    // Without the autopilot the trim alone keeps it near level.
    EXPECT_LT(handsOff.maxAltitudeError, 25.0f);
}

TEST(TrimmedStart, AutopilotEngagedOnTheFirstFrameHoldsTheInitialSpeed) {
    for (const bool trimmed : {false, true}) {
        const Flight f =
            fly(cruisingAircraft(), trimmed, {0}, 60.0f, 20.0f, kAltitude, kSpeedKnots);
        print(trimmed ? "aircraft 250 kt, trimmed,   Q on the first frame"
                      : "aircraft 250 kt, untrimmed, Q on the first frame",
              f, 20.0f);
        std::printf("  speed from 20 s within %.2f kt of 250\n",
                    static_cast<double>(f.maxSpeedError));
        EXPECT_FALSE(f.unstable);
        EXPECT_LT(f.maxSpeedError, 5.0f) << (trimmed ? "trimmed" : "untrimmed");
        EXPECT_GT(f.endSpeedKnots, 240.0f);
    }
}

TEST(TrimmedStart, HelicopterAt100FeetHoversAndTheAutopilotKeyKeepsItThere) {
    const Flight fallen = fly(hoveringHelicopter(), false, {}, 30.0f, 0.0f, kHoverHeight);
    print("helicopter 100 ft, untrimmed, autopilot as started", fallen, 0.0f);
    const Flight looseOffOn = fly(hoveringHelicopter(), false, {kHalfSecond, 2 * kHalfSecond + 1},
                                  30.0f, 0.0f, kHoverHeight);
    print("helicopter 100 ft, untrimmed, Q off at 0.5 s, on at 1 s", looseOffOn, 0.0f);
    const Flight hover = fly(hoveringHelicopter(), true, {}, 30.0f, 0.0f, kHoverHeight);
    print("helicopter 100 ft, trimmed,   autopilot as started", hover, 0.0f);
    const Flight offOn = fly(hoveringHelicopter(), true, {kHalfSecond, 2 * kHalfSecond + 1}, 30.0f,
                             0.0f, kHoverHeight);
    print("helicopter 100 ft, trimmed,   Q off at 0.5 s, on at 1 s", offOn, 0.0f);

    EXPECT_EQ(hover.trim, TrimOutcome::Trimmed);
    for (const Flight* f : {&hover, &offOn}) {
        EXPECT_FALSE(f->unstable);
        EXPECT_EQ(f->frames, 900);
        EXPECT_LT(f->maxAltitudeError, 10.0f);
        EXPECT_LT(f->maxDrift, 20.0f);
    }
    // Engaging the climb-rate hold selects level flight: an untrimmed
    // helicopter whose autopilot is switched off and on again no longer
    // heads for the ground.
    EXPECT_GT(looseOffOn.lowest, 50.0f);
}

TEST(TrimmedStart, AnAircraftTooSlowToFlyOrBeyondItsEngineSaysSoAndStartsUntrimmed) {
    struct Case {
        const char* what;
        model::ObjectRecord record;
        TrimOutcome outcome;
    };
    model::ObjectRecord weak = cruisingAircraft(600.0f * kFpsPerKnot);
    weak.enginePower = 2000.0f;
    const Case cases[] = {
        {"40 knots", cruisingAircraft(40.0f * kFpsPerKnot), TrimOutcome::TooSlow},
        {"at rest in the air", cruisingAircraft(0.0f), TrimOutcome::TooSlow},
        {"600 knots on 2000 lbf", weak, TrimOutcome::BeyondEngine},
    };
    for (const Case& c : cases) {
        ScenarioRun run(c.record, false);
        run.settings().trimmedStart = true;
        float startPitch = 1.0f;
        run.run(
            0.1f, [](int, const SimObject&, ControlRecord&) {},
            [&](int frame, const SimObject& obj) {
                if (frame == 0)
                    startPitch = obj.pitch;
                return true;
            });
        EXPECT_EQ(run.state().slots[0].trim.outcome, c.outcome) << c.what;
        ASSERT_FALSE(run.messages.messages.empty()) << c.what;
        std::printf("%s: \"%s\"\n", c.what, run.messages.messages.front().c_str());
        EXPECT_NE(run.messages.messages.front().find("starts untrimmed"), std::string::npos);
        EXPECT_NEAR(startPitch, 0.0f, 0.01f) << c.what << ": started as given";
    }
}

TEST(TrimmedStart, AVehicleOnTheGroundStartsAsItStands) {
    for (const int type : {model::kVehicleAircraft, model::kVehicleHelicopter}) {
        ScenarioRun run(test::vehicleTemplate(type));
        run.placeOnGround(0.0f);
        run.settings().trimmedStart = true;
        run.run(
            0.1f, [](int, const SimObject&, ControlRecord&) {},
            [](int, const SimObject&) { return true; });
        EXPECT_EQ(run.state().slots[0].trim.outcome, TrimOutcome::Untrimmed) << type;
        EXPECT_TRUE(run.messages.messages.empty()) << type;
    }
}

} // namespace
} // namespace kv::sim
