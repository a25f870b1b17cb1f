#pragma once
// Trimming a simulated aircraft in straight and level flight: angle of attack,
// elevator and throttle such that forward, vertical and pitch accelerations
// vanish with wings level and no rates.

#include "model/object_record.h"
#include "simulation/body/body_setup.h"
#include "simulation/compute_derivatives.h"
#include "simulation/propulsion/propulsion_settings.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace kv::test {

struct LevelTrim {
    float alphaDeg = 0.0f;
    float elevator = 0.0f; ///< elevator channel
    float throttle = 0.0f; ///< throttle channel
    float residual = 0.0f; ///< largest acceleration left (ft/s^2, rad/s^2)
};

/// `record` placed at `altitude` (ft) flying at `speed` (ft/s) with angle of
/// attack and pitch `alphaDeg`, set up as a run would with step `dt`.
inline sim::SimObject levelFlight(model::ObjectRecord record, float altitude, float speed,
                                  float alphaDeg, float elevator, float throttle,
                                  const sim::Environment& env, float dt) {
    const float a = alphaDeg * 0.017453292f;
    record.initial.position = {0.0f, 0.0f, -altitude};
    record.initial.attitude = {0.0f, alphaDeg, 0.0f};
    record.initial.velocity = {speed * std::cos(a), 0.0f, speed * std::sin(a)};
    record.initial.rates = {};
    sim::SimObject obj;
    sim::setUpBody(obj, record);
    sim::setPropulsionRunValues(obj.propulsionSettings, dt, 1.0f / 30.0f, env.gravity);
    obj.controls.channels[sim::kElevator] = elevator;
    obj.controls.channels[sim::kThrottle] = throttle;
    return obj;
}

inline std::array<double, 3> levelResidual(const model::ObjectRecord& record, float altitude,
                                           float speed, const std::array<double, 3>& x,
                                           const sim::Environment& env) {
    sim::SimObject obj =
        levelFlight(record, altitude, speed, static_cast<float>(x[0]), static_cast<float>(x[1]),
                    static_cast<float>(x[2]), env, 1.0f / 120.0f);
    sim::BodyState state = obj.state;
    const sim::StateDerivative d = sim::ComputeDerivatives(1, state, obj, env);
    // Pitch acceleration weighted so that all three residuals are of a size.
    return {d.acceleration[0], d.acceleration[2], 100.0 * d.angularAcceleration[1]};
}

/// Newton iteration with a finite-difference Jacobian from a first guess.
inline LevelTrim trimLevel(const model::ObjectRecord& record, float altitude, float speed,
                           const sim::Environment& env, LevelTrim guess = {2.0f, 0.1f, 0.3f}) {
    std::array<double, 3> x{guess.alphaDeg, guess.elevator, guess.throttle};
    const std::array<double, 3> step{0.01, 0.001, 0.001};
    std::array<double, 3> r{};
    for (int iteration = 0; iteration < 30; ++iteration) {
        r = levelResidual(record, altitude, speed, x, env);
        double j[3][3];
        for (int c = 0; c < 3; ++c) {
            std::array<double, 3> xp = x;
            xp[static_cast<std::size_t>(c)] += step[static_cast<std::size_t>(c)];
            const std::array<double, 3> rp = levelResidual(record, altitude, speed, xp, env);
            for (int k = 0; k < 3; ++k) {
                j[k][c] = (rp[static_cast<std::size_t>(k)] - r[static_cast<std::size_t>(k)]) /
                          step[static_cast<std::size_t>(c)];
            }
        }
        const double det = j[0][0] * (j[1][1] * j[2][2] - j[1][2] * j[2][1]) -
                           j[0][1] * (j[1][0] * j[2][2] - j[1][2] * j[2][0]) +
                           j[0][2] * (j[1][0] * j[2][1] - j[1][1] * j[2][0]);
        if (std::fabs(det) < 1e-12) {
            break;
        }
        std::array<double, 3> dx{};
        for (int c = 0; c < 3; ++c) {
            double m[3][3];
            for (int k = 0; k < 3; ++k) {
                for (int l = 0; l < 3; ++l) {
                    m[k][l] = l == c ? -r[static_cast<std::size_t>(k)] : j[k][l];
                }
            }
            dx[static_cast<std::size_t>(c)] = (m[0][0] * (m[1][1] * m[2][2] - m[1][2] * m[2][1]) -
                                               m[0][1] * (m[1][0] * m[2][2] - m[1][2] * m[2][0]) +
                                               m[0][2] * (m[1][0] * m[2][1] - m[1][1] * m[2][0])) /
                                              det;
        }
        for (std::size_t c = 0; c < 3; ++c) {
            x[c] += dx[c];
        }
    }
    r = levelResidual(record, altitude, speed, x, env);
    LevelTrim t;
    t.alphaDeg = static_cast<float>(x[0]);
    t.elevator = static_cast<float>(x[1]);
    t.throttle = static_cast<float>(x[2]);
    t.residual =
        static_cast<float>(std::max({std::fabs(r[0]), std::fabs(r[1]), std::fabs(r[2]) / 100.0}));
    return t;
}

} // namespace kv::test
