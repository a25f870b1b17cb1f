#pragma once
/// The path follower: a driver or pilot that produces the controller input of
/// each frame (stick, buttons, letter-key command) from the vehicle's state and
/// a path, exactly as a person at the joystick would. Cars and motorcycles
/// steer by pure pursuit with a look-ahead that grows with speed and hold a
/// speed profile (corner limits, braking to stop at the end) or the marks'
/// arrival times; the helicopter flies the path's speed and heights through its
/// hover autopilot; the aircraft engages its autopilot and commands bank and
/// flight-path angle toward the path.

#include "app/follow/follow_path.h"
#include "simulation/control_record.h"

#include <string>
#include <vector>

namespace kv::app {

/// What the follower reads of the vehicle at the start of a frame: what a
/// driver sees and feels, nothing of the physics' internals.
struct FollowerView {
    int vehicleType = 0;        ///< vehicle type code of the followed object
    double time = 0.0;          ///< frame time (s)
    double north = 0.0;         ///< ft
    double east = 0.0;          ///< ft
    double up = 0.0;            ///< height above the local origin (ft)
    double velocityNorth = 0.0; ///< ft/s
    double velocityEast = 0.0;  ///< ft/s
    double climbRate = 0.0;     ///< ft/s, positive up
    double forwardSpeed = 0.0;  ///< body forward velocity (ft/s)
    double yaw = 0.0;           ///< heading (rad), 0 north, positive toward east
    double roll = 0.0;          ///< rad, positive right wing down
    double yawRate = 0.0;       ///< body yaw rate (rad/s), positive to the right
    bool onGround = false;
    bool autopilotEngaged = false;
    double throttleLever = 0.0; ///< the pilot's throttle lever, 0..1
    double rudderOffset = 0.0;  ///< the pilot's rudder offset (deg or deg/s)
    double heldSpeedLow = 0.0;  ///< autopilot's held-speed range, low end (knots)
    double heldSpeedHigh = 0.0; ///< autopilot's held-speed range, high end (knots)
    /// Road-wheel steer angle at full steering input (rad); 0 while unknown.
    double fullSteerAngle = 0.0;
    double wheelbase = 0.0; ///< ft between the foremost and rearmost tires; 0 unknown
};

struct FollowSettings {
    /// Speed to travel at where the path gives none (ft/s); 0: the vehicle's
    /// own default (30 mph on the road, 40 ft/s for the helicopter, the speed
    /// at engagement for the aircraft). The aircraft's speed is its indicated
    /// airspeed, set through the autopilot's held speed.
    double cruiseSpeed = 0.0;
    /// Worst cross-track error (ft) beyond which a run counts as not followed
    /// closely; 0: the vehicle's own (10 ft on the road, 100 ft for the
    /// helicopter, 1000 ft for the aircraft).
    double tolerance = 0.0;
};

/// How well the path was followed, in the units of the physics.
struct FollowReport {
    double rmsCrossTrack = 0.0;   ///< ft, over the frames from the start to the end
    double worstCrossTrack = 0.0; ///< ft
    double worstAlong = 0.0;      ///< where along the path the worst error was (ft)
    std::size_t worstPoint = 0;   ///< the path point (from 1) before the worst error
    double worstHeight = 0.0;     ///< largest height error once settled at the height (ft)
    int marks = 0;                ///< marks (points with times after the first) passed
    double worstMarkError = 0.0;  ///< largest |arrival - mark time| (s)
    double maxRoll = 0.0;         ///< largest |roll| while moving along the path (rad)
    double endDistance = 0.0;     ///< distance from the last point at the end (ft)
    bool reachedEnd = false;      ///< the end of the path was reached (and the vehicle stopped)
    bool gaveUp = false;          ///< the follower gave up (lost the path or ran out of time)
    bool followedClosely = true;  ///< reached the end within the tolerance
    double tolerance = 0.0;       ///< ft, the tolerance applied
    bool flying = false;          ///< an aircraft or helicopter: heights are flown
};

class PathFollower {
  public:
    PathFollower(FollowPath path, FollowSettings settings);

    /// The controller input of this frame for the vehicle as `view` shows it.
    sim::ControlRecord step(const FollowerView& view);

    /// The path is done with: reached (and stopped where the vehicle stops)
    /// or given up. The run may end.
    bool finished() const { return finished_; }
    /// The figures so far; complete once finished.
    FollowReport report() const;
    const FollowPath& path() const { return path_; }

    /// Total length of the path on the ground plan (ft).
    double length() const { return s_.back(); }
    /// Point of the path `s` ft along it (north, east, up).
    PathPoint pointAt(double s) const;

  private:
    void track(const FollowerView& v);
    double targetSpeed(double now) const;
    double heightAt(double s) const;
    sim::ControlRecord drive(const FollowerView& v, double dt);
    sim::ControlRecord fly(const FollowerView& v, double dt);
    sim::ControlRecord hover(const FollowerView& v, double dt);
    void finish(bool reached, const FollowerView& v);

    FollowPath path_;
    FollowSettings settings_;
    std::vector<double> s_;           ///< distance along the path at each point (ft)
    std::vector<double> cornerSpeed_; ///< speed limit at each point after braking ahead (ft/s)
    double cruise_ = 0.0;             ///< ft/s
    double latAccel_ = 0.0;           ///< lateral acceleration allowed in corners (ft/s^2)
    double decel_ = 0.0;              ///< braking used to slow down ahead (ft/s^2)

    bool started_ = false;
    /// Frame time of the first frame (s). A frame reads the state the frame
    /// before left, so the state seen at frame time t is that of t - startTime_.
    double startTime_ = 0.0;
    double lastTime_ = 0.0;   ///< s
    double startUp_ = 0.0;    ///< height at the start (ft)
    double budget_ = 0.0;     ///< s the follower may take before giving up
    std::size_t segment_ = 0; ///< segment of the vehicle's projection
    double along_ = 0.0;      ///< distance along the path of the projection (ft)
    double crossTrack_ = 0.0; ///< ft
    std::size_t nextMark_ = 1;
    double sumSquares_ = 0.0;
    long long samples_ = 0;
    double stoppedFor_ = 0.0; ///< s spent stopped at the end
    double steerIntegral_ = 0.0;
    double speedIntegral_ = 0.0;
    double velocityIntegralN_ = 0.0;
    double velocityIntegralE_ = 0.0;
    bool finished_ = false;
    bool reachedHeight_ = false; ///< has flown within 25 ft of the path's height
    double lastNorth_ = 0.0;     ///< ft, at the last frame
    double lastEast_ = 0.0;      ///< ft, at the last frame
    double fullSteer_ = 0.0;     ///< last known road-wheel angle at full input (rad)
    FollowReport report_;
};

/// The user's message for a run that did not follow its path closely, with the
/// largest error in the working length unit (`lengthUnitFactor` ft per unit);
/// empty when it did.
std::string followProblemMessage(const FollowReport& report, float lengthUnitFactor);

} // namespace kv::app
