#include "simulation/trim/start_trim.h"

#include "common/unit_constants.h"
#include "simulation/compute_derivatives.h"
#include "simulation/rotor/rotor_derivatives.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <memory>

namespace kv::sim {

namespace {

/// Highest angle of attack a trim may use (rad, 20 deg): beyond it the wing
/// is near its stall and the aircraft counts as too slow to fly level.
constexpr double kMaxTrimAlpha = 0.34906585;
/// Residual (ft/s^2, and rad/s^2 x 100) below which a trim holds.
constexpr double kTrimTolerance = 0.01;
/// A helicopter moving faster than this (ft/s) or turning faster than this
/// (rad/s) at the start is not in a hover.
constexpr float kHoverSpeed = 1.0f;
constexpr float kHoverRate = 0.01f;
/// A hover holds when the accelerations left at the hover point stay within
/// these (ft/s^2 and rad/s^2); the rotor's own 4 Hz vibration is 0.3 ft/s^2.
constexpr float kHoverAcceleration = 0.5f;
constexpr float kHoverAngularAcceleration = 0.05f;

/// A vehicle this close above the ground (ft) counts as standing on it: set
/// down with its wheels just touching, it starts as it stands.
constexpr float kGroundMargin = 0.5f;

using Vec3d = std::array<double, 3>;

/// Solves the n x n system j x = b (n <= 3) by Gaussian elimination with
/// partial pivoting; false when it is singular.
bool solve(std::size_t n, std::array<Vec3d, 3> j, Vec3d b, Vec3d& x) {
    for (std::size_t c = 0; c < n; ++c) {
        std::size_t pivot = c;
        for (std::size_t k = c + 1; k < n; ++k) {
            if (std::fabs(j[k][c]) > std::fabs(j[pivot][c]))
                pivot = k;
        }
        if (!(std::fabs(j[pivot][c]) > 1e-12)) {
            return false;
        }
        std::swap(j[c], j[pivot]);
        std::swap(b[c], b[pivot]);
        for (std::size_t k = c + 1; k < n; ++k) {
            const double f = j[k][c] / j[c][c];
            for (std::size_t l = c; l < n; ++l) {
                j[k][l] -= f * j[c][l];
            }
            b[k] -= f * b[c];
        }
    }
    for (std::size_t c = n; c-- > 0;) {
        double v = b[c];
        for (std::size_t l = c + 1; l < n; ++l) {
            v -= j[c][l] * x[l];
        }
        x[c] = v / j[c][c];
    }
    return true;
}

double largest(const Vec3d& r) {
    return std::max({std::fabs(r[0]), std::fabs(r[1]), std::fabs(r[2])});
}

/// Level flight of an aircraft: the accelerations left at angle of attack,
/// elevator and throttle `x`.
class LevelFlight {
  public:
    LevelFlight(const model::ObjectRecord& record, const ControlBlock& controls,
                const Environment& environment, const SetUpObject& setUp)
        : record_(record), controls_(controls), environment_(environment), setUp_(setUp),
          trial_(std::make_unique<SimObject>()) {}

    /// Forward and vertical acceleration (ft/s^2) and 100 x the pitch
    /// acceleration (rad/s^2), so that the three weigh alike.
    Vec3d residual(const Vec3d& x) {
        model::ObjectRecord r = record_;
        StartTrim t;
        t.alpha = static_cast<float>(x[0]);
        trimInitialConditions(t, model::kVehicleAircraft, r.initial);
        SimObject& obj = *trial_;
        setUp_(obj, r);
        obj.controls = controls_;
        obj.controls.channels[kElevator] = static_cast<float>(x[1]);
        obj.controls.channels[kThrottle] = static_cast<float>(x[2]);
        BodyState state = obj.state;
        const StateDerivative d = ComputeDerivatives(kPredictorStage, state, obj, environment_);
        return {d.acceleration[0], d.acceleration[2], 100.0 * d.angularAcceleration[1]};
    }

  private:
    const model::ObjectRecord& record_;
    const ControlBlock& controls_;
    const Environment& environment_;
    const SetUpObject& setUp_;
    std::unique_ptr<SimObject> trial_;
};

StartTrim trimLevelFlight(const model::ObjectRecord& record, const ControlBlock& controls,
                          const Environment& environment, const SetUpObject& setUp) {
    StartTrim trim;
    const float speed = VecLength(record.initial.velocity);
    if (!(speed >= 1.0f)) {
        trim.outcome = TrimOutcome::TooSlow;
        return trim;
    }
    LevelFlight flight(record, controls, environment, setUp);
    // Newton's method on a finite-difference Jacobian, each step limited so
    // that a poor first guess cannot throw the angle of attack past the
    // stall. The unknowns are ordered angle of attack, elevator, throttle,
    // and the residuals vertical acceleration, pitch acceleration, forward
    // acceleration: once the throttle reaches the end of its travel it stays
    // there and the first two are solved alone, which tells a flight the
    // engine cannot hold from one the wing cannot.
    Vec3d x{0.05, 0.0, 0.5};
    const Vec3d step{0.001, 0.001, 0.001};
    const Vec3d maxMove{0.05, 0.5, 0.5};
    const auto reordered = [&](const Vec3d& at) {
        const Vec3d r = flight.residual(at);
        return Vec3d{r[1], r[2], r[0]};
    };
    std::size_t free = 3;
    const auto converged = [&](const Vec3d& r) {
        for (std::size_t k = 0; k < free; ++k) {
            if (std::fabs(r[k]) > kTrimTolerance)
                return false;
        }
        return true;
    };
    Vec3d r = reordered(x);
    for (int iteration = 0; iteration < 40 && !converged(r); ++iteration) {
        std::array<Vec3d, 3> j{};
        for (std::size_t c = 0; c < free; ++c) {
            Vec3d xp = x;
            // The throttle is differenced inwards at the end of its travel.
            const double h = c == 2 && x[2] + step[2] > 1.0 ? -step[c] : step[c];
            xp[c] += h;
            const Vec3d rp = reordered(xp);
            for (std::size_t k = 0; k < free; ++k) {
                j[k][c] = (rp[k] - r[k]) / h;
            }
        }
        Vec3d dx{};
        if (!solve(free, j, {-r[0], -r[1], -r[2]}, dx)) {
            break;
        }
        for (std::size_t c = 0; c < free; ++c) {
            x[c] += std::clamp(dx[c], -maxMove[c], maxMove[c]);
        }
        // Room beyond the elevator's travel and the stall, so that a flight
        // that needs more is found and told as such.
        x[0] = std::clamp(x[0], -0.35, 0.7);
        x[1] = std::clamp(x[1], -3.0, 3.0);
        if (free == 3 && (x[2] >= 1.0 || x[2] <= 0.0)) {
            x[2] = std::clamp(x[2], 0.0, 1.0);
            free = 2;
        }
        r = reordered(x);
    }
    trim.alpha = static_cast<float>(x[0]);
    trim.elevator = static_cast<float>(x[1]);
    trim.throttle = static_cast<float>(x[2]);
    trim.residual = static_cast<float>(largest(r));
    const bool flies = converged(r) && x[0] <= kMaxTrimAlpha && std::fabs(x[1]) <= 1.0;
    if (!flies) {
        // Only past the stall is the wing the reason.
        trim.outcome = x[0] > kMaxTrimAlpha ? TrimOutcome::TooSlow : TrimOutcome::NotFound;
    } else if (largest(r) <= kTrimTolerance) {
        trim.outcome = TrimOutcome::Trimmed;
    } else if (x[2] >= 1.0 && r[2] < 0.0) {
        trim.outcome = TrimOutcome::BeyondEngine;
    } else {
        trim.outcome = TrimOutcome::NotFound;
    }
    return trim;
}

StartTrim trimHover(const model::ObjectRecord& record, const ControlBlock& controls,
                    const Environment& environment, const SetUpObject& setUp) {
    StartTrim trim;
    const model::InitialConditions& ic = record.initial;
    const float rate = VecLength(ic.rates) * kRadPerDeg;
    if (VecLength(ic.velocity) > kHoverSpeed || rate > kHoverRate) {
        trim.outcome = TrimOutcome::NotHovering;
        return trim;
    }
    // The rotor model is linear about its hover: the collective that zeroes
    // the mixer, the other channels centred and the rotor state at rest hold
    // the weight with no moment. Checked against the whole object, whose
    // other force sources could upset it.
    trim.collective = kHoverCollective;
    model::ObjectRecord r = record;
    trimInitialConditions(trim, model::kVehicleHelicopter, r.initial);
    auto obj = std::make_unique<SimObject>();
    setUp(*obj, r);
    obj->controls = controls;
    trimControls(trim, model::kVehicleHelicopter, obj->controls);
    BodyState state = obj->state;
    const StateDerivative d = ComputeDerivatives(kPredictorStage, state, *obj, environment);
    const float a = VecLength(d.acceleration);
    const float w = VecLength(d.angularAcceleration);
    trim.residual = MaxOf(a, 100.0f * w);
    trim.outcome = a <= kHoverAcceleration && w <= kHoverAngularAcceleration
                       ? TrimOutcome::Trimmed
                       : TrimOutcome::NotFound;
    return trim;
}

/// Whether the object as `setUp` makes it from `record` touches the ground,
/// or would if it were kGroundMargin lower.
bool touchesGround(const model::ObjectRecord& record, const ControlBlock& controls,
                   const Environment& environment, const SetUpObject& setUp) {
    model::ObjectRecord lowered = record;
    lowered.initial.position[2] += kGroundMargin;
    auto obj = std::make_unique<SimObject>();
    setUp(*obj, lowered);
    obj->controls = controls;
    BodyState state = obj->state;
    ComputeDerivatives(kPredictorStage, state, *obj, environment);
    const ForceSet& ground = obj->forces.ground;
    return obj->groundContact.inContact || VecLength(ground.force) > 0.0f ||
           VecLength(ground.moment) > 0.0f;
}

} // namespace

std::string_view trimMessage(TrimOutcome outcome) {
    switch (outcome) {
    case TrimOutcome::TooSlow:
        return "The aircraft is too slow to fly level at its initial speed; it starts untrimmed.";
    case TrimOutcome::BeyondEngine:
        return "Level flight at the initial speed needs more thrust than the engine gives; the "
               "aircraft starts untrimmed.";
    case TrimOutcome::NotHovering:
        return "The helicopter is trimmed only in a hover; it starts untrimmed.";
    case TrimOutcome::NotFound:
        return "No control positions hold the initial flight; the vehicle starts untrimmed.";
    case TrimOutcome::Untrimmed:
    case TrimOutcome::Trimmed:
        break;
    }
    return {};
}

StartTrim trimInitialFlight(const model::ObjectRecord& record, const ControlBlock& initialControls,
                            const Environment& environment, const SetUpObject& setUp) {
    const bool aircraft = record.vehicleType == model::kVehicleAircraft &&
                          record.engineType != model::kEngineSpacecraft &&
                          record.engineType != model::kEngineUfo;
    const bool helicopter = record.vehicleType == model::kVehicleHelicopter &&
                            record.engineType == model::kEngineHelicopter;
    if (!aircraft && !helicopter) {
        return {};
    }
    if (touchesGround(record, initialControls, environment, setUp)) {
        return {};
    }
    return aircraft ? trimLevelFlight(record, initialControls, environment, setUp)
                    : trimHover(record, initialControls, environment, setUp);
}

void trimInitialConditions(const StartTrim& trim, int vehicleType,
                           model::InitialConditions& initial) {
    const float heading = initial.attitude[2];
    initial.rates = {0.0f, 0.0f, 0.0f};
    if (vehicleType == model::kVehicleHelicopter) {
        initial.attitude = {0.0f, 0.0f, heading};
        initial.velocity = {0.0f, 0.0f, 0.0f};
        return;
    }
    const float speed = VecLength(initial.velocity);
    initial.attitude = {0.0f, trim.alpha * kDegPerRad, heading};
    initial.velocity = {speed * std::cos(trim.alpha), 0.0f, speed * std::sin(trim.alpha)};
}

void trimControls(const StartTrim& trim, int vehicleType, ControlBlock& controls) {
    auto& ch = controls.channels;
    if (vehicleType == model::kVehicleHelicopter) {
        ch[kCollective] = trim.collective;
        ch[kLateralCyclic] = trim.lateralCyclic;
        ch[kLongitudinalCyclic] = trim.longitudinalCyclic;
        ch[kPedal] = trim.pedal;
        return;
    }
    ch[kElevator] = trim.elevator;
    ch[kThrottle] = trim.throttle;
}

} // namespace kv::sim
