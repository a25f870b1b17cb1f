// Scenario: the Aircraft template in cruise with the autopilot engaged (Q on
// the second frame), flown through the run loop with the stick centred, on each
// of the four aerodynamic models.

#include "simulation/aero/aero_trim.h"
#include "simulation/pilot/pilot_stages.h"
#include "simulation/scenario_run.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <gtest/gtest.h>
#include <string>

namespace kv::sim {
namespace {

using test::ScenarioRun;

constexpr float kAltitude = 5000.0f;               // ft
constexpr float kSpeed = 250.0f * kv::kFpsPerKnot; // ft/s

struct Cruise {
    bool unstable = false;
    bool finite = true;
    int frames = 0;
    float maxAltitudeError = 0.0f;   ///< ft
    float maxHeadingError = 0.0f;    ///< deg
    float maxRoll = 0.0f;            ///< deg
    float finalRoll = 0.0f;          ///< deg
    float finalAltitudeError = 0.0f; ///< ft
    float speedChange = 0.0f;        ///< ft/s, end minus start
    bool engaged = false;
    test::LevelTrim trim;
};

/// The Aircraft template on `aeroModel`, trimmed straight and level at 250
/// knots and 5000 ft, flown for `seconds` on the autopilot; `bankDeg` starts it
/// banked, `turbulence` flies it through the turbulence of strength 1.
Cruise flyOnAutopilot(int aeroModel, float seconds, float bankDeg = 0.0f, bool turbulence = false) {
    model::ObjectRecord record = test::vehicleTemplate(model::kVehicleAircraft);
    record.aero.aeroModel = aeroModel;
    model::deriveRunLimits(record);
    const Environment env;
    Cruise c;
    c.trim = test::trimLevel(record, kAltitude, kSpeed, env);
    const float a = c.trim.alphaDeg / kDegPerRad;
    record.initial.position = {0.0f, 0.0f, -kAltitude};
    record.initial.attitude = {bankDeg, c.trim.alphaDeg, 0.0f};
    record.initial.velocity = {kSpeed * std::cos(a), 0.0f, kSpeed * std::sin(a)};
    record.initial.rates = {};

    ScenarioRun run(record, false);
    run.settings().initialControls.channels[kThrottle] = c.trim.throttle;
    run.settings().initialControls.channels[kElevator] = c.trim.elevator;
    run.settings().environment.turbulenceOn = turbulence ? 1 : 0;
    float startYaw = 0.0f;
    const float startSpeed = kSpeed;
    const auto controller = [&](int frame, const SimObject&, ControlRecord& raw) {
        if (frame == 1)
            raw.command = kKeyAutopilot;
    };
    const auto watcher = [&](int frame, const SimObject& obj) {
        if (frame == 0)
            startYaw = obj.yaw;
        if (!std::isfinite(obj.state.altitude) || !std::isfinite(obj.airspeed) ||
            !std::isfinite(obj.yaw)) {
            c.finite = false;
            return false;
        }
        c.engaged = obj.controls.autopilotEngaged == 1;
        c.maxAltitudeError =
            std::max(c.maxAltitudeError, std::fabs(obj.state.altitude - kAltitude));
        c.maxHeadingError =
            std::max(c.maxHeadingError, std::fabs(WrapPi(obj.yaw - startYaw)) * kDegPerRad);
        c.maxRoll = std::max(c.maxRoll, std::fabs(obj.roll) * kDegPerRad);
        return true;
    };
    c.frames = run.run(seconds, controller, watcher);
    c.unstable = run.unstable();
    c.speedChange = run.object().airspeed - startSpeed;
    c.finalRoll = std::fabs(run.object().roll) * kDegPerRad;
    c.finalAltitudeError = run.object().state.altitude - kAltitude;
    return c;
}

void print(const char* name, const Cruise& c) {
    std::printf(
        "%-10s trim alpha %5.2f deg, elevator %+.3f, throttle %.3f; %.1f s on the "
        "autopilot: altitude within %.1f ft (%+.1f ft at the end), heading within %.2f deg, "
        "|roll| <= %.2f deg, speed change %+.1f ft/s%s%s\n",
        name, static_cast<double>(c.trim.alphaDeg), static_cast<double>(c.trim.elevator),
        static_cast<double>(c.trim.throttle),
        static_cast<double>(static_cast<float>(c.frames) * ScenarioRun::kFramePeriod),
        static_cast<double>(c.maxAltitudeError), static_cast<double>(c.finalAltitudeError),
        static_cast<double>(c.maxHeadingError), static_cast<double>(c.maxRoll),
        static_cast<double>(c.speedChange), c.unstable ? ", UNSTABLE" : "",
        c.finite ? "" : ", NOT FINITE");
}

// From straight and level, and from a 10-deg bank that the autopilot has to
// take out before the heading wanders off.
TEST(AircraftScenario, AutopilotHoldsAltitudeAndHeadingForAMinute) {
    for (float bank : {0.0f, 10.0f}) {
        const Cruise c = flyOnAutopilot(model::kAeroLinear, 60.0f, bank);
        std::printf("initial bank %4.1f deg: ", static_cast<double>(bank));
        print("Aircraft", c);
        const std::string tag = bank == 0.0f ? "level" : "banked";
        ::testing::Test::RecordProperty(tag + "_altitude_error_ft",
                                        std::to_string(c.maxAltitudeError));
        ::testing::Test::RecordProperty(tag + "_heading_error_deg",
                                        std::to_string(c.maxHeadingError));
        EXPECT_FALSE(c.unstable) << bank;
        EXPECT_TRUE(c.finite) << bank;
        EXPECT_TRUE(c.engaged) << bank;
        EXPECT_EQ(c.frames, 1800) << bank;
        EXPECT_LT(c.maxAltitudeError, 100.0f) << bank;
        EXPECT_LT(c.maxHeadingError, 2.0f) << bank;
        EXPECT_LT(c.finalRoll, 0.5f) << "wings level again " << bank;
    }
}

// Each model from straight and level and from a 10-deg bank, which stirs the
// roll, Dutch roll and spiral modes as well as the pitch modes.
TEST(AircraftScenario, EveryAerodynamicModelFliesAMinuteOnTheAutopilot) {
    struct Model {
        const char* name;
        int code;
    };
    const Model models[] = {{"linear", model::kAeroLinear},
                            {"F-16", model::kAeroF16},
                            {"F-4", model::kAeroF4},
                            {"747", model::kAero747}};
    for (const Model& m : models) {
        for (float bank : {0.0f, 10.0f}) {
            const Cruise c = flyOnAutopilot(m.code, 60.0f, bank);
            std::printf("initial bank %4.1f deg: ", static_cast<double>(bank));
            print(m.name, c);
            EXPECT_LT(c.trim.residual, 0.01f) << m.name;
            EXPECT_FALSE(c.unstable) << m.name << " " << bank;
            EXPECT_TRUE(c.finite) << m.name << " " << bank;
            EXPECT_EQ(c.frames, 1800) << m.name << " " << bank;
            // Stable also in the sense of flying on: no dive, spiral or climb away.
            EXPECT_LT(c.maxAltitudeError, 500.0f) << m.name << " " << bank;
            EXPECT_LE(c.maxRoll, std::max(bank, 1.0f) + 0.01f) << m.name << " " << bank;
            EXPECT_LT(c.finalRoll, 0.5f) << m.name << " " << bank;
        }
    }
}

} // namespace
} // namespace kv::sim
