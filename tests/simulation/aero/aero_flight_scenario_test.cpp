// Scenario: aircraft trimmed in straight and level flight hold their altitude
// for a while with the controls fixed.

#include "aero_trim.h"
#include "common/unit_constants.h"
#include "model/object_model.h"
#include "model/template.h"
#include "simulation/step_object.h"
#include "support/fake_ports.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <gtest/gtest.h>
#include <string>

namespace kv::sim {
namespace {

constexpr float kDt = 1.0f / 120.0f;

model::ObjectRecord aircraftTemplate() {
    model::ObjectRecord r;
    model::resetObject(r);
    r.vehicleType = model::kVehicleAircraft;
    model::applyTemplate(r);
    model::deriveRunLimits(r);
    return r;
}

struct FlightResult {
    float maxAltitudeError = 0.0f; ///< ft
    float maxPitchRate = 0.0f;     ///< rad/s
    float speedChange = 0.0f;      ///< ft/s, end minus start
    float distance = 0.0f;         ///< ft flown north
    bool stopped = false;
    bool finite = true;
};

/// Flies `obj` with its controls as they are for `seconds`.
FlightResult fly(SimObject& obj, float seconds) {
    Environment env;
    test::RecordingMessages messages;
    bool stop = false;
    const StepContext ctx{kDt, env, messages, stop};
    const float start = obj.state.altitude;
    const float startSpeed = obj.airspeed;
    FlightResult result;
    const int steps = static_cast<int>(seconds / kDt);
    for (int i = 0; i < steps && !stop; ++i) {
        StepObject(obj, ctx);
        result.maxAltitudeError =
            std::max(result.maxAltitudeError, std::fabs(obj.state.altitude - start));
        result.maxPitchRate = std::max(result.maxPitchRate, std::fabs(obj.state.rates[1]));
        if (!std::isfinite(obj.state.altitude) || !std::isfinite(obj.airspeed)) {
            result.finite = false;
            break;
        }
    }
    result.stopped = stop;
    result.speedChange = obj.airspeed - startSpeed;
    result.distance = obj.position[0];
    return result;
}

struct Scenario {
    std::string name;
    model::ObjectRecord record;
    float altitude;  ///< ft
    float speed;     ///< ft/s
    float band;      ///< allowed altitude excursion when trimmed (ft)
    float roughBand; ///< allowed altitude excursion when trimmed roughly (ft)
};

Scenario withModel(const char* name, int aeroModel, float altitude, float speed) {
    Scenario s{name, aircraftTemplate(), altitude, speed, 1.0f, 100.0f};
    s.record.aero.aeroModel = aeroModel;
    return s;
}

/// The 747 tables with 747 mass properties (Heffley and Jewell, NASA CR-2144):
/// 636600 lb, Ixx 18.2e6, Iyy 33.1e6, Izz 49.7e6 slug ft^2.
Scenario jumbo() {
    Scenario s = withModel("747", model::kAero747, 20000.0f, 640.0f);
    s.record.mass.mass = 636600.0f / 32.17f;
    s.record.mass.inertia = {18.2e6f, 0.0f, 0.0f, 0.0f, 33.1e6f, 0.0f, 0.0f, 0.0f, 49.7e6f};
    s.record.mass.rollYawCoupling = 0.0f;
    s.record.enginePower = 4.0f * 50000.0f / 2.0f; // four engines on the two-engine jet law
    return s;
}

TEST(FlightScenario, TrimmedAircraftHoldsAltitudeWithControlsFixed) {
    std::vector<Scenario> scenarios;
    scenarios.push_back({"Aircraft template (linear)", aircraftTemplate(), 5000.0f,
                         250.0f * kFpsPerKnot, 1.0f, 100.0f});
    scenarios.push_back(withModel("F-16 data", model::kAeroF16, 5000.0f, 250.0f * kFpsPerKnot));
    scenarios.push_back(withModel("F-4 data", model::kAeroF4, 5000.0f, 250.0f * kFpsPerKnot));
    scenarios.push_back(jumbo());

    const Environment env;
    for (Scenario& s : scenarios) {
        const test::LevelTrim trim = test::trimLevel(s.record, s.altitude, s.speed, env);
        SimObject obj = test::levelFlight(s.record, s.altitude, s.speed, trim.alphaDeg,
                                          trim.elevator, trim.throttle, env, kDt);
        const FlightResult r = fly(obj, 10.0f);
        // Trimmed roughly: angle to half a degree, controls to a hundredth.
        SimObject rough = test::levelFlight(s.record, s.altitude, s.speed,
                                            std::round(trim.alphaDeg * 2.0f) / 2.0f,
                                            std::round(trim.elevator * 100.0f) / 100.0f,
                                            std::round(trim.throttle * 100.0f) / 100.0f, env, kDt);
        const FlightResult rr = fly(rough, 5.0f);
        std::printf("%-28s trim alpha %6.2f deg, elevator %+.3f, throttle %.3f (residual %.1e); "
                    "10 s: altitude within %.2f ft, speed change %+.2f ft/s; rough trim, 5 s: "
                    "altitude within %.1f ft, |q| <= %.3f rad/s\n",
                    s.name.c_str(), static_cast<double>(trim.alphaDeg),
                    static_cast<double>(trim.elevator), static_cast<double>(trim.throttle),
                    static_cast<double>(trim.residual), static_cast<double>(r.maxAltitudeError),
                    static_cast<double>(r.speedChange), static_cast<double>(rr.maxAltitudeError),
                    static_cast<double>(rr.maxPitchRate));
        EXPECT_LT(trim.residual, 0.01f) << s.name;
        EXPECT_GT(trim.throttle, 0.0f) << s.name;
        EXPECT_LT(trim.throttle, 1.0f) << s.name;
        EXPECT_LT(std::fabs(trim.elevator), 1.0f) << s.name;
        EXPECT_FALSE(r.stopped) << s.name;
        EXPECT_TRUE(r.finite) << s.name;
        EXPECT_LT(r.maxAltitudeError, s.band) << s.name;
        EXPECT_NEAR(r.distance, 10.0f * s.speed, 0.01f * s.speed) << s.name;
        EXPECT_FALSE(rr.stopped) << s.name;
        EXPECT_TRUE(rr.finite) << s.name;
        EXPECT_LT(rr.maxAltitudeError, s.roughBand) << s.name;
    }
}

// A nudge in pitch dies away: the short-period motion is stable.
TEST(FlightScenario, PitchDisturbanceDampsOut) {
    const model::ObjectRecord r = aircraftTemplate();
    const Environment env;
    const test::LevelTrim trim = test::trimLevel(r, 5000.0f, 250.0f * kFpsPerKnot, env);
    SimObject obj = test::levelFlight(r, 5000.0f, 250.0f * kFpsPerKnot, trim.alphaDeg,
                                      trim.elevator, trim.throttle, env, kDt);
    obj.state.rates[1] = 0.1f;
    fly(obj, 3.0f);
    const FlightResult later = fly(obj, 1.0f);
    EXPECT_LT(later.maxPitchRate, 0.02f);
}

// Sideslip and roll disturbances die away too: the Dutch roll and roll modes
// of every model are damped.
TEST(FlightScenario, LateralDisturbanceDampsOut) {
    std::vector<Scenario> scenarios;
    scenarios.push_back({"Aircraft template (linear)", aircraftTemplate(), 5000.0f,
                         250.0f * kFpsPerKnot, 1.0f, 100.0f});
    scenarios.push_back(withModel("F-16 data", model::kAeroF16, 5000.0f, 250.0f * kFpsPerKnot));
    scenarios.push_back(withModel("F-4 data", model::kAeroF4, 5000.0f, 250.0f * kFpsPerKnot));
    scenarios.push_back(jumbo());
    const Environment env;
    for (Scenario& s : scenarios) {
        const test::LevelTrim trim = test::trimLevel(s.record, s.altitude, s.speed, env);
        SimObject obj = test::levelFlight(s.record, s.altitude, s.speed, trim.alphaDeg,
                                          trim.elevator, trim.throttle, env, kDt);
        obj.state.velocity[1] = 0.05f * s.speed; // about 3 deg of sideslip
        obj.state.rates[0] = 0.1f;
        // Largest roll and yaw rates over four successive 5-s windows.
        float peak[4] = {};
        for (float& w : peak) {
            for (int i = 0; i < 600; ++i) {
                fly(obj, kDt * 1.5f);
                w = std::max({w, std::fabs(obj.state.rates[0]), std::fabs(obj.state.rates[2])});
            }
        }
        std::printf(
            "%-28s peak |p|, |r| by 5-s window: %.4f %.4f %.4f %.4f rad/s; roll %+.1f deg\n",
            s.name.c_str(), static_cast<double>(peak[0]), static_cast<double>(peak[1]),
            static_cast<double>(peak[2]), static_cast<double>(peak[3]),
            static_cast<double>(obj.roll * 57.29578f));
        for (std::size_t w = 1; w < 4; ++w) {
            EXPECT_LT(peak[w], peak[w - 1]) << s.name << " window " << w;
        }
        EXPECT_LT(peak[3], 0.3f * peak[0]) << s.name;
    }
}

} // namespace
} // namespace kv::sim
