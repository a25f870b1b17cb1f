#include "app/follow/path_follower.h"

#include "app/settings/units.h"
#include "common/unit_constants.h"
#include "model/object_record.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace kv::app {

namespace {

constexpr double kG = static_cast<double>(kStandardGravity);
constexpr double kPi = kPiD;

/// Vehicle command codes of the letter keys the follower presses.
constexpr std::int32_t kCodeAutopilot = 1;    ///< Q
constexpr std::int32_t kCodeThrottleDown = 5; ///< X
constexpr std::int32_t kCodeThrottleUp = 6;   ///< S
constexpr std::int32_t kCodeRudderRight = 11; ///< L
constexpr std::int32_t kCodeRudderLeft = 12;  ///< K

/// Full-stick bank and flight-path selections of the autopilot (rad).
constexpr double kFullStickBank = 60.0 * kRadPerDegD;
constexpr double kFullStickFlightPath = 30.0 * kRadPerDegD;
/// Steepest bank the follower flies the aircraft at (rad): a gentle airliner
/// turn, so that the autopilot's pitch hold keeps the height through it.
constexpr double kMaxBank = 30.0 * kRadPerDegD;
/// Full-stick lean of the motorcycle's balancing autopilot (rad).
constexpr double kFullStickLean = 0.6981317007977311;
/// Speeds (ft/s) between which the motorcycle's stick passes from steering to lean.
constexpr double kLeanBlendLow = 14.666673;
constexpr double kLeanBlendWidth = 14.666673;
/// Side acceleration the template car holds at most on the nominal dry road
/// (g), as driven on steady circles through the run loop at 25 to 44 ft/s:
/// steering further only scrubs speed, and braking near it costs the front
/// tires their side grip, so the car runs wide.
constexpr double kCarPeakGrip = 0.7;
/// Side acceleration the car's corner speeds are planned at (g), leaving the
/// steering room to correct.
constexpr double kCarCornerGrip = 0.6;
/// Road-wheel angle added for the car's understeer (rad per g^3 of side
/// acceleration). Steady circles give about 0.08; the larger figure also
/// covers the lag while the tires build up their side force.
constexpr double kCarUndersteer = 0.15;
/// Shortest look-ahead of the car (ft): shorter, the steering outruns its rate
/// limit and the car weaves about the path.
constexpr double kCarMinLookAhead = 20.0;
/// Stick per ft/s of speed error, car and motorcycle: the car's is gentle, since
/// throttle and brake stabbed in a corner unsettle its grip.
constexpr double kCarSpeedGain = 0.05;
constexpr double kMotorcycleSpeedGain = 0.15;
/// Climb rate the helicopter's throttle lever selects per unit away from 0.5 (ft/s).
constexpr double kClimbPerLever = 4000.0 / 60.0;
/// The throttle lever moves this much a key press.
constexpr double kLeverStep = 0.05;

double wrapAngle(double a) {
    while (a > kPi)
        a -= 2.0 * kPi;
    while (a < -kPi)
        a += 2.0 * kPi;
    return a;
}

bool isGroundVehicle(int type) {
    return type == model::kVehicleCar || type == model::kVehicleMotorcycle;
}

} // namespace

PathFollower::PathFollower(FollowPath path, FollowSettings settings)
    : path_(std::move(path)), settings_(settings) {
    const auto& p = path_.points;
    s_.assign(p.size(), 0.0);
    for (std::size_t i = 1; i < p.size(); ++i)
        s_[i] = s_[i - 1] + std::hypot(p[i].north - p[i - 1].north, p[i].east - p[i - 1].east);
}

PathPoint PathFollower::pointAt(double s) const {
    const auto& p = path_.points;
    if (s <= 0.0)
        return p.front();
    if (s >= s_.back())
        return p.back();
    const std::size_t i =
        static_cast<std::size_t>(std::upper_bound(s_.begin(), s_.end(), s) - s_.begin()) - 1;
    const double len = s_[i + 1] - s_[i];
    const double f = len > 0.0 ? (s - s_[i]) / len : 0.0;
    PathPoint q;
    q.north = p[i].north + f * (p[i + 1].north - p[i].north);
    q.east = p[i].east + f * (p[i + 1].east - p[i].east);
    q.up = p[i].up + f * (p[i + 1].up - p[i].up);
    q.speed = p[i].speed + f * (p[i + 1].speed - p[i].speed);
    q.time = p[i].time + f * (p[i + 1].time - p[i].time);
    return q;
}

double PathFollower::heightAt(double s) const {
    return path_.hasHeights ? pointAt(s).up : startUp_;
}

void PathFollower::track(const FollowerView& v) {
    // The projection moves only forward-ish within a window, so that where a
    // path crosses itself (a figure-eight) the follower keeps to its own leg.
    const auto& p = path_.points;
    const double speed = std::hypot(v.velocityNorth, v.velocityEast);
    const double reach = along_ + 60.0 + 3.0 * speed;
    double best = 1e300;
    std::size_t bestSeg = segment_;
    double bestAlong = along_;
    const std::size_t first = segment_ > 0 ? segment_ - 1 : 0;
    for (std::size_t i = first; i + 1 < p.size() && s_[i] <= reach; ++i) {
        const double dn = p[i + 1].north - p[i].north;
        const double de = p[i + 1].east - p[i].east;
        const double len2 = dn * dn + de * de;
        double f =
            len2 > 0.0 ? ((v.north - p[i].north) * dn + (v.east - p[i].east) * de) / len2 : 0.0;
        f = std::clamp(f, 0.0, 1.0);
        const double along = s_[i] + f * (s_[i + 1] - s_[i]);
        if (along < along_ - 1.0)
            continue;
        const double d = std::hypot(v.north - (p[i].north + f * dn), v.east - (p[i].east + f * de));
        if (d < best - 1e-9) {
            best = d;
            bestSeg = i;
            bestAlong = along;
        }
    }
    if (best < 1e300) {
        segment_ = bestSeg;
        along_ = std::max(along_, bestAlong);
        crossTrack_ = best;
    }
}

double PathFollower::targetSpeed(double now) const {
    const auto& p = path_.points;
    const std::size_t i = std::min(segment_ + 1, p.size() - 1);
    // Slowing down ahead: for the next point's limit and every later one
    // (the limits already include braking between points).
    double v =
        std::sqrt(cornerSpeed_[i] * cornerSpeed_[i] + 2.0 * decel_ * std::max(0.0, s_[i] - along_));
    if (path_.timing == PathTiming::Speeds) {
        v = std::min(v, std::max(pointAt(along_).speed, 4.0));
    } else if (path_.timing == PathTiming::Times) {
        std::size_t mark = nextMark_;
        while (mark < p.size() && !p[mark].timed)
            ++mark;
        if (mark < p.size()) {
            const double left = s_[mark] - along_;
            const double time = p[mark].time - (now - startTime_);
            const double wanted = time > 0.25 ? left / time : 2.0 * cruise_;
            v = std::min(v, std::max(wanted, 2.0));
        }
    } else {
        v = std::min(v, cruise_);
    }
    return v;
}

void PathFollower::finish(bool reached, const FollowerView& v) {
    finished_ = true;
    report_.reachedEnd = reached;
    report_.endDistance =
        std::hypot(v.north - path_.points.back().north, v.east - path_.points.back().east);
    report_.followedClosely =
        reached && !report_.gaveUp && report_.worstCrossTrack <= report_.tolerance;
}

sim::ControlRecord PathFollower::step(const FollowerView& v) {
    const auto& p = path_.points;
    if (!started_) {
        started_ = true;
        startTime_ = v.time;
        lastTime_ = v.time;
        startUp_ = v.up;
        const bool ground = isGroundVehicle(v.vehicleType);
        const bool heli = v.vehicleType == model::kVehicleHelicopter;
        if (heli && !path_.hasHeights && v.onGround)
            startUp_ = v.up + 50.0;
        cruise_ = settings_.cruiseSpeed > 0.0 ? settings_.cruiseSpeed
                  : ground                    ? 30.0 * static_cast<double>(kFpsPerMph)
                  : heli                      ? 40.0
                                              : std::max(v.forwardSpeed, 100.0);
        const bool car = v.vehicleType == model::kVehicleCar;
        latAccel_ = car ? kCarCornerGrip * kG : ground ? 0.7 * kG : heli ? 0.2 * kG : kG;
        decel_ = ground ? 0.3 * kG : heli ? 0.1 * kG : 0.0;
        // What counts as close: a lane on the road, a rotor span or two for
        // the helicopter, the inside of a standard-rate turn for the aircraft.
        report_.flying = !ground;
        report_.tolerance = settings_.tolerance > 0.0 ? settings_.tolerance
                            : ground                  ? 10.0
                            : heli                    ? 100.0
                                                      : 1000.0;
        // Speed limits at the points: the turn there over the shorter of the
        // neighbouring legs (a dense path's own curvature, a sparse path's
        // corner rounded over a few car lengths), then braking from each limit
        // back toward the start; the last point is a stop for road vehicles and
        // the helicopter.
        const double cornerLength = ground ? 20.0 : heli ? 30.0 : 1000.0;
        cornerSpeed_.assign(p.size(), 1e9);
        // (The aircraft turns at its bank limit whatever its speed: no limits.)
        for (std::size_t i = 1; decel_ > 0.0 && i + 1 < p.size(); ++i) {
            const double a1 = std::atan2(p[i].east - p[i - 1].east, p[i].north - p[i - 1].north);
            const double a2 = std::atan2(p[i + 1].east - p[i].east, p[i + 1].north - p[i].north);
            const double turn = std::fabs(wrapAngle(a2 - a1));
            const double leg = std::min({s_[i] - s_[i - 1], s_[i + 1] - s_[i], cornerLength});
            if (turn > 1e-6 && leg > 0.0)
                cornerSpeed_[i] = std::max(std::sqrt(latAccel_ * leg / turn), 4.0);
        }
        if (decel_ > 0.0) {
            cornerSpeed_.back() = 0.0;
            for (std::size_t i = p.size() - 1; i-- > 0;) {
                cornerSpeed_[i] =
                    std::min(cornerSpeed_[i], std::sqrt(cornerSpeed_[i + 1] * cornerSpeed_[i + 1] +
                                                        2.0 * decel_ * (s_[i + 1] - s_[i])));
            }
        }
        // Time allowed: the path at a third of the speed it asks for, plus a
        // minute for starting, stopping and climbing.
        double expected = s_.back() / std::max(cruise_, 5.0);
        for (const PathPoint& q : p) {
            if (path_.timing == PathTiming::Times && q.timed)
                expected = std::max(expected, q.time);
        }
        budget_ = 3.0 * expected + 60.0;
    }
    const double dt = std::max(v.time - lastTime_, 1e-3);
    lastTime_ = v.time;
    lastNorth_ = v.north;
    lastEast_ = v.east;
    if (v.fullSteerAngle > 0.0)
        fullSteer_ = v.fullSteerAngle;
    if (finished_) {
        sim::ControlRecord hold;
        if (isGroundVehicle(v.vehicleType))
            hold.stickY = 1.0f;
        else if (v.vehicleType == model::kVehicleHelicopter)
            return hover(v, dt);
        return hold;
    }
    track(v);
    const bool ground = isGroundVehicle(v.vehicleType);
    const bool flyingAtHeight =
        !ground && !v.onGround && std::fabs(v.up - heightAt(along_)) < 200.0;
    if (ground || flyingAtHeight || reachedHeight_) {
        ++samples_;
        sumSquares_ += crossTrack_ * crossTrack_;
        if (crossTrack_ > report_.worstCrossTrack) {
            report_.worstCrossTrack = crossTrack_;
            report_.worstAlong = along_;
            report_.worstPoint = segment_ + 1;
        }
    }
    // Height is judged once the vehicle has settled at the path's height: an
    // aircraft started untrimmed first sinks while its autopilot takes hold.
    const bool settled = v.vehicleType != model::kVehicleAircraft ||
                         (v.time - startTime_ >= 10.0 && std::fabs(v.climbRate) < 5.0);
    if (!ground && !v.onGround && settled && std::fabs(v.up - heightAt(along_)) < 25.0)
        reachedHeight_ = true;
    if (!ground && reachedHeight_ && path_.hasHeights)
        report_.worstHeight = std::max(report_.worstHeight, std::fabs(v.up - heightAt(along_)));
    if (std::hypot(v.velocityNorth, v.velocityEast) > 5.0)
        report_.maxRoll = std::max(report_.maxRoll, std::fabs(v.roll));
    // Marks passed: the arrival time against the mark's time.
    while (path_.timing == PathTiming::Times && nextMark_ < p.size() &&
           along_ >= s_[nextMark_] - (nextMark_ + 1 == p.size() ? 3.0 : 0.5)) {
        // The last point is reached where the vehicle stops for it.
        if (p[nextMark_].timed) {
            const double error = (v.time - startTime_) - p[nextMark_].time;
            report_.worstMarkError = std::max(report_.worstMarkError, std::fabs(error));
            ++report_.marks;
        }
        ++nextMark_;
    }
    // Giving up: far off the path or out of time, with the best effort so far.
    const double lost = ground ? 300.0 : 3000.0;
    const bool fallen = ground && std::fabs(v.roll) > 1.3;
    if (crossTrack_ > lost || fallen || v.time - startTime_ > budget_) {
        report_.gaveUp = true;
        finish(false, v);
        return step(v);
    }
    // The motorcycle balances and the helicopter hovers through their
    // autopilots, which start switched on; found off (once the pilot layer
    // has started, from the second frame), Q switches them on again.
    const bool needsAutopilot =
        v.vehicleType == model::kVehicleMotorcycle || v.vehicleType == model::kVehicleHelicopter;
    if (needsAutopilot && !v.autopilotEngaged && v.time > startTime_) {
        sim::ControlRecord engage;
        engage.command = kCodeAutopilot;
        return engage;
    }
    switch (v.vehicleType) {
    case model::kVehicleHelicopter:
        return hover(v, dt);
    case model::kVehicleAircraft:
        return fly(v, dt);
    default:
        return drive(v, dt);
    }
}

sim::ControlRecord PathFollower::drive(const FollowerView& v, double dt) {
    sim::ControlRecord c;
    const double speed = v.forwardSpeed;
    const double remaining = s_.back() - along_;
    const double toEnd =
        std::hypot(path_.points.back().north - v.north, path_.points.back().east - v.east);
    // At the end: brake to a stop and hold it a moment.
    if (remaining < 3.0 || (remaining < 15.0 && toEnd < 4.0)) {
        c.stickY = 1.0f;
        if (std::fabs(speed) < 1.0) {
            stoppedFor_ += dt;
            if (stoppedFor_ >= 1.0)
                finish(true, v);
        }
        return c;
    }
    // Pure pursuit: the arc through the point one look-ahead further along.
    // A motorcycle must lean before it turns: it looks further ahead.
    const bool motorcycle = v.vehicleType == model::kVehicleMotorcycle;
    const double lookAhead = motorcycle ? std::max(12.0, 1.1 * std::fabs(speed))
                                        : std::max(kCarMinLookAhead, 0.45 * std::fabs(speed));
    const PathPoint target = pointAt(along_ + lookAhead);
    const double dn = target.north - v.north;
    const double de = target.east - v.east;
    const double distance = std::max(std::hypot(dn, de), 1.0);
    const double alpha = wrapAngle(std::atan2(de, dn) - v.yaw);
    // No sharper than the tires hold (without rolling the motorcycle over).
    const double peakAccel = (motorcycle ? 0.8 : kCarPeakGrip) * kG;
    const double grip = peakAccel / std::max(speed * speed, 1.0);
    const double curvature = std::clamp(2.0 * std::sin(alpha) / distance, -grip, grip); // 1/ft
    const double yawRateError = curvature * speed - v.yawRate;

    double x = 0.0;
    if (motorcycle) {
        // The balancing autopilot leans for the stick above walking pace and
        // steers with it below; blend the two as it does.
        const double w = std::clamp((speed - kLeanBlendLow) / kLeanBlendWidth, 0.0, 1.0);
        const double lean = std::atan(speed * speed * curvature / kG);
        const double steerAngle = fullSteer_ > 0.0 ? fullSteer_ : 0.5;
        const double wheelbase = v.wheelbase > 0.0 ? v.wheelbase : 5.0;
        const double direct = std::atan(curvature * wheelbase) / steerAngle;
        x = w * lean / kFullStickLean + (1.0 - w) * direct;
    } else {
        const double steerAngle = fullSteer_ > 0.0 ? fullSteer_ : 0.5;
        const double wheelbase = v.wheelbase > 0.0 ? v.wheelbase : 9.0;
        if (std::fabs(speed) > 3.0)
            steerIntegral_ = std::clamp(steerIntegral_ + 0.4 * yawRateError * dt, -0.3, 0.3);
        // The road-wheel angle of the arc, plus the understeer of its side
        // acceleration; the yaw-rate trim and its integrator take the rest.
        const double sideG = curvature * speed * speed / kG;
        const double wheelAngle =
            std::atan(curvature * wheelbase) + kCarUndersteer * sideG * sideG * sideG;
        x = wheelAngle / steerAngle + 0.25 * yawRateError + steerIntegral_;
    }
    c.stickX = static_cast<float>(std::clamp(x, -1.0, 1.0));

    // Speed: throttle forward on the stick, brake back; no faster than the
    // turn being steered allows, so that a corner is left before speeding up.
    // The car slows so only for a turn beyond its grip: the small corrections
    // of the steering must not make it brake in a corner.
    const double rawCurvature = std::fabs(2.0 * std::sin(alpha) / distance);
    double wanted = targetSpeed(v.time);
    const double steeredAccel = motorcycle ? latAccel_ : peakAccel;
    if (rawCurvature > 1e-6)
        wanted = std::min(wanted, std::max(std::sqrt(steeredAccel / rawCurvature), 4.0));
    const double error = wanted - speed;
    speedIntegral_ = std::clamp(speedIntegral_ + 0.05 * error * dt, -0.3, 0.5);
    double u = (motorcycle ? kMotorcycleSpeedGain : kCarSpeedGain) * error + speedIntegral_;
    if (u < 0.0)
        u *= 0.5; // the brakes bite harder than the engine pulls
    // Past half throttle the motorcycle's rider lifts the front wheel.
    const double fullThrottle = v.vehicleType == model::kVehicleMotorcycle ? 0.5 : 1.0;
    c.stickY = static_cast<float>(std::clamp(-u, -fullThrottle, 1.0));
    return c;
}

sim::ControlRecord PathFollower::hover(const FollowerView& v, double dt) {
    sim::ControlRecord c;
    const auto& last = path_.points.back();
    const double wantedUp = finished_ ? heightAt(s_.back()) : heightAt(along_);
    const double speed = std::hypot(v.velocityNorth, v.velocityEast);
    const double toEnd = std::hypot(last.north - v.north, last.east - v.east);

    // Horizontal: a velocity along the path toward the look-ahead point, or a
    // position hold over the last point; only once near the path's height.
    double wantN = 0.0;
    double wantE = 0.0;
    const bool atHeight = std::fabs(v.up - wantedUp) < 25.0 || along_ > 0.0 || finished_;
    const double remaining = s_.back() - along_;
    if (finished_ || remaining < 20.0) {
        const double gain = 0.3;
        wantN = gain * (last.north - v.north);
        wantE = gain * (last.east - v.east);
        const double n = std::hypot(wantN, wantE);
        if (n > 10.0) {
            wantN *= 10.0 / n;
            wantE *= 10.0 / n;
        }
        if (!finished_ && toEnd < 6.0 && speed < 2.0) {
            stoppedFor_ += dt;
            if (stoppedFor_ >= 3.0)
                finish(true, v);
        }
    } else if (atHeight) {
        const double lookAhead = std::max(30.0, 1.5 * speed);
        const PathPoint target = pointAt(along_ + lookAhead);
        const double dn = target.north - v.north;
        const double de = target.east - v.east;
        const double d = std::max(std::hypot(dn, de), 1.0);
        const double wanted = targetSpeed(v.time);
        wantN = wanted * dn / d;
        wantE = wanted * de / d;
    }
    const double errN = wantN - v.velocityNorth;
    const double errE = wantE - v.velocityEast;
    if (!v.onGround) {
        velocityIntegralN_ = std::clamp(velocityIntegralN_ + 0.05 * errN * dt, -3.0, 3.0);
        velocityIntegralE_ = std::clamp(velocityIntegralE_ + 0.05 * errE * dt, -3.0, 3.0);
    }
    double aN = 0.5 * errN + velocityIntegralN_;
    double aE = 0.5 * errE + velocityIntegralE_;
    const double a = std::hypot(aN, aE);
    if (a > 0.3 * kG) {
        aN *= 0.3 * kG / a;
        aE *= 0.3 * kG / a;
    }
    const double forward = aN * std::cos(v.yaw) + aE * std::sin(v.yaw);
    const double right = -aN * std::sin(v.yaw) + aE * std::cos(v.yaw);
    // Pitch nose down to speed up, bank toward the side to go.
    c.stickY =
        static_cast<float>(std::clamp(-std::atan(forward / kG) / kFullStickFlightPath, -1.0, 1.0));
    c.stickX = static_cast<float>(std::clamp(std::atan(right / kG) / kFullStickBank, -1.0, 1.0));

    // Height through the climb-rate hold: the lever in steps of a key press.
    const double climb = std::clamp(0.4 * (wantedUp - v.up), -12.0, 12.0);
    const double lever = std::clamp(0.5 + climb / kClimbPerLever, 0.0, 1.0);
    if (v.throttleLever < lever - 0.5 * kLeverStep) {
        c.command = kCodeThrottleUp;
    } else if (v.throttleLever > lever + 0.5 * kLeverStep) {
        c.command = kCodeThrottleDown;
    } else if (!finished_ && speed > 10.0 && !v.onGround) {
        // Heading along the track: the rudder keys turn at a fixed rate.
        const double error = wrapAngle(std::atan2(v.velocityEast, v.velocityNorth) - v.yaw);
        if (error > 0.15 && v.rudderOffset <= 0.0)
            c.command = kCodeRudderRight;
        else if (error < -0.15 && v.rudderOffset >= 0.0)
            c.command = kCodeRudderLeft;
        else if (std::fabs(error) < 0.05 && v.rudderOffset > 0.0)
            c.command = kCodeRudderRight;
        else if (std::fabs(error) < 0.05 && v.rudderOffset < 0.0)
            c.command = kCodeRudderLeft;
    } else if (v.rudderOffset > 0.0) {
        c.command = kCodeRudderRight;
    } else if (v.rudderOffset < 0.0) {
        c.command = kCodeRudderLeft;
    }
    return c;
}

sim::ControlRecord PathFollower::fly(const FollowerView& v, double) {
    sim::ControlRecord c;
    // The autopilot takes its held speed from what the instruments read at
    // the call before: engage it from the second frame on.
    if (!v.autopilotEngaged) {
        if (v.time > startTime_)
            c.command = kCodeAutopilot;
        return c;
    }
    const auto& last = path_.points.back();
    const double speed = std::max(std::hypot(v.velocityNorth, v.velocityEast), 50.0);
    const double remaining = s_.back() - along_;
    if (remaining < 1.0 || (remaining < 2.0 * speed &&
                            std::hypot(last.north - v.north, last.east - v.east) < 0.5 * speed)) {
        finish(true, v);
        return c;
    }
    // Pure pursuit for the bank of a level turn.
    const double turnRadius = speed * speed / (kG * std::tan(kMaxBank));
    const double lookAhead = std::max(1000.0, 1.2 * turnRadius);
    const PathPoint target = pointAt(along_ + lookAhead);
    const double dn = target.north - v.north;
    const double de = target.east - v.east;
    const double distance = std::max(std::hypot(dn, de), 1.0);
    const double alpha = wrapAngle(std::atan2(de, dn) - v.yaw);
    const double curvature = 2.0 * std::sin(alpha) / distance;
    const double bank = std::clamp(std::atan(speed * speed * curvature / kG), -kMaxBank, kMaxBank);
    c.stickX = static_cast<float>(bank / kFullStickBank);
    // Flight path toward the path's height.
    // The wanted climb rate, with the shortfall of the present one added so
    // that the slow pitch hold of the autopilot is hurried along.
    const double wanted = std::clamp(0.2 * (heightAt(along_) - v.up), -40.0, 40.0);
    const double climb = std::clamp(wanted + (wanted - v.climbRate), -60.0, 60.0);
    const double gamma = std::atan2(climb, speed);
    c.stickY = static_cast<float>(std::clamp(gamma / kFullStickFlightPath, -1.0, 1.0));
    // Speed, where one is asked for: the held speed moves with the throttle
    // lever across its range, a key press a step.
    const bool speedAsked = settings_.cruiseSpeed > 0.0 || path_.timing != PathTiming::None;
    const double range = v.heldSpeedHigh - v.heldSpeedLow;
    if (speedAsked && range > 0.0) {
        const double knots = targetSpeed(v.time) * static_cast<double>(kKnotsPerFps);
        const double lever = std::clamp((knots - v.heldSpeedLow) / range, 0.0, 1.0);
        if (v.throttleLever < lever - 0.5 * kLeverStep)
            c.command = kCodeThrottleUp;
        else if (v.throttleLever > lever + 0.5 * kLeverStep)
            c.command = kCodeThrottleDown;
    }
    return c;
}

FollowReport PathFollower::report() const {
    FollowReport r = report_;
    r.rmsCrossTrack = samples_ > 0 ? std::sqrt(sumSquares_ / double(samples_)) : 0.0;
    if (!finished_) {
        r.followedClosely = false;
        r.endDistance = std::hypot(lastNorth_ - path_.points.back().north,
                                   lastEast_ - path_.points.back().east);
    }
    return r;
}

std::string followProblemMessage(const FollowReport& r, float lengthUnitFactor) {
    if (r.followedClosely)
        return {};
    const double unit = static_cast<double>(lengthUnitFactor);
    const std::string name(unitShortName(lengthUnitFactor));
    char text[256];
    if (r.gaveUp) {
        std::snprintf(text, sizeof text,
                      "The vehicle could not follow the path. The largest error was %0.1f %s, "
                      "after point %zu.",
                      r.worstCrossTrack / unit, name.c_str(), r.worstPoint);
    } else if (!r.reachedEnd) {
        std::snprintf(text, sizeof text,
                      "The run ended before the end of the path. The largest error was %0.1f %s, "
                      "after point %zu.",
                      r.worstCrossTrack / unit, name.c_str(), r.worstPoint);
    } else {
        std::snprintf(text, sizeof text,
                      "The vehicle could not follow the path closely. The largest error was "
                      "%0.1f %s, after point %zu.",
                      r.worstCrossTrack / unit, name.c_str(), r.worstPoint);
    }
    return text;
}

} // namespace kv::app
