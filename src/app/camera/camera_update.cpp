#include "app/camera/camera_update.h"

#include "app/camera/camera_math.h"

#include <algorithm>
#include <cmath>

namespace kv::app {

namespace {

/// Turns by the stick rotated by the roll: the shared steering of the fly and
/// pan modes.
void turn(Vec3& angles, const sim::ControlRecord& c, const CameraSettings& s) {
    const float r = angles[0] * kRadPerDeg;
    const float cr = std::cos(r), sr = std::sin(r);
    const float w = s.maxAngularRate * s.dt;
    angles[1] += w * (-cr * c.stickY - sr * c.stickX);
    angles[2] += w * (cr * c.stickX - sr * c.stickY);
}

/// Fly steering: A/B drive the along-view speed, the stick turns.
void steerFly(Vec3& position, Vec3& angles, const sim::ControlRecord& c, const CameraSettings& s,
              SpeedIntegrator& speed, bool runActive) {
    float u = 0.0f;
    if (c.buttonA != 0)
        u = s.maxVelocity * s.dt;
    else if (c.buttonB != 0)
        u = -s.maxVelocity * s.dt;
    advanceSpeed(speed, u, s.drag, s.dt, runActive);
    position = VecAdd(position, VecScale(viewDirection(angles[1], angles[2]), speed.speed));
    turn(angles, c, s);
}

/// Pan steering: with A the stick moves forward/back and sideways, with B
/// sideways and up/down, both in the camera's own frame; otherwise it turns.
void steerPan(Vec3& position, Vec3& angles, const sim::ControlRecord& c, const CameraSettings& s) {
    const float step = s.maxVelocity * s.dt;
    Vec3 v{};
    if (c.buttonA != 0)
        v = Vec3{-c.stickY * step, c.stickX * step, 0.0f};
    else if (c.buttonB != 0)
        v = Vec3{0.0f, c.stickX * step, c.stickY * step};
    else {
        turn(angles, c, s);
        return;
    }
    position = VecAdd(position, MatTVec3(cameraAttitude(angles), v));
}

void wrapAngles(Vec3& a) {
    for (float& x : a)
        x = Wrap180(x);
}

/// Attached modes (and chase, on the delayed pose): captures offset and
/// relative attitude on entry, steers them, and places the camera.
void attached(bool pan, bool entry, const Pose& obj, const sim::ControlRecord& c,
              const CameraSettings& s, bool runActive, sim::CameraRecord& rec, CameraState& st,
              Vec3& working) {
    const Mat3 rObj = cameraAttitude(obj.angles);
    if (entry) {
        st.relativeAttitude = MatMul3(cameraAttitude(rec.angles), Transpose3(rObj));
        st.offset = MatVec3(rObj, VecAdd(VecSub(rec.position, obj.position), st.lastVelocity));
    }
    Vec3 relAngles = anglesOfAttitude(st.relativeAttitude);
    if (pan)
        steerPan(st.offset, relAngles, c, s);
    else
        steerFly(st.offset, relAngles, c, s, st.viewSpeed, runActive);
    st.relativeAttitude = cameraAttitude(relAngles);
    rec.angles = anglesOfAttitude(MatMul3(st.relativeAttitude, rObj));
    working = VecAdd(obj.position, MatTVec3(rObj, st.offset));
}

/// Dolly factor of the TV modes: A moves toward the target, B away.
void advanceDolly(const sim::ControlRecord& c, const CameraSettings& s, bool runActive,
                  CameraState& st) {
    float u = 0.0f;
    if (c.buttonA != 0 && st.dolly < 1.0f)
        u = 0.05f * s.maxVelocity * s.dt;
    else if (c.buttonB != 0 && st.dolly > 0.0f)
        u = -0.05f * s.maxVelocity * s.dt;
    advanceSpeed(st.dollySpeed, u, s.drag, s.dt, runActive);
    st.dolly = std::clamp(st.dolly + st.dollySpeed.speed, 0.0f, 0.9f);
}

/// TV camera: aims from the anchor at `target` plus the user's offsets and
/// dollies along that line.
void tvTrack(const Vec3& target, const sim::ControlRecord& c, const CameraSettings& s,
             bool runActive, sim::CameraRecord& rec, CameraState& st, Vec3& working) {
    advanceDolly(c, s, runActive, st);
    const float w = s.maxAngularRate * s.dt;
    st.pitchOffset = Wrap180(st.pitchOffset - c.stickY * w);
    st.yawOffset = Wrap180(st.yawOffset + c.stickX * w);
    Vec3 aim = aimAngles(st.anchor, target);
    aim[1] = Wrap180(aim[1] + st.pitchOffset);
    aim[2] = Wrap180(aim[2] + st.yawOffset);
    rec.angles = aim;
    const float dist = VecLength(VecSub(target, st.anchor));
    working = VecAdd(st.anchor, VecScale(viewDirection(aim[1], aim[2]), st.dolly * dist));
}

void applyJitter(const CameraSettings& s, sim::CameraRecord& rec, CameraState& st, Vec3& working) {
    for (float& a : rec.angles)
        a += s.jitterAngle * nextNormal(st.normals);
    for (float& p : working)
        p += s.jitterPosition * nextNormal(st.normals);
}

/// Spring-damped follow of the working position, one Heun step per axis, then
/// the locked camera-frame axes taken from the target.
Vec3 applyBounce(const CameraSettings& s, const Mat3& rCam, const Vec3& x, BounceState& b) {
    const float dt = s.dt, k = s.spring, cd = s.damping;
    for (std::size_t i = 0; i < 3; ++i) {
        const float w = (x[i] - b.lastTarget[i]) / dt;
        b.lastTarget[i] = x[i];
        const float y = b.position[i], v = b.velocity[i];
        const float a = ((x[i] - y) * k + (w - v) * cd) * 0.01f;
        const float vStar = v + dt * a;
        const float yNew = y + (v + vStar) * dt * 0.5f;
        const float aStar = ((x[i] + w * dt - (y + v * dt)) * k + (w - vStar) * cd) * 0.01f;
        b.velocity[i] = v + (a + aStar) * dt * 0.5f;
        b.position[i] = yNew;
    }
    const Vec3 target = MatVec3(rCam, x);
    Vec3 bounced = MatVec3(rCam, b.position);
    if (s.lockLongitudinal)
        bounced[0] = target[0];
    if (s.lockLateral)
        bounced[1] = target[1];
    if (s.lockVertical)
        bounced[2] = target[2];
    return MatTVec3(rCam, bounced);
}

} // namespace

void UpdateCamera(const CameraSettings& s, const CameraStepInput& in,
                  const sim::ControlRecord& controls, sim::CameraRecord& rec, CameraState& st) {
    const bool first = in.frameCounter == 0;
    const bool run = in.runActive;
    const int mode = std::clamp(rec.mode, 0, kCameraModeCount - 1);
    rec.mode = mode;
    const bool entry = mode != st.lastMode;
    rec.time = in.time;
    if (first) {
        st.lastVelocity = Vec3{};
        st.lastObjectPosition = in.object.position;
    }
    recordPose(st.delayLine, in.object, in.time, first);

    sim::ControlRecord c = controls;
    Vec3 working = rec.position;
    switch (mode) {
    case kModeRoam:
        steerFly(working, rec.angles, c, s, st.viewSpeed, run);
        break;
    case kModeRoamPan:
        steerPan(working, rec.angles, c, s);
        break;
    case kModeChase:
    case kModeChasePan: {
        const Pose delayed = delayedPose(st.delayLine);
        if (mode == kModeChase) {
            if (c.buttonB != 0) {
                if (st.delayLine.delay < kMaxDelay)
                    ++st.delayLine.delay;
            } else if (c.buttonA != 0) {
                if (st.delayLine.delay > kMinDelay)
                    --st.delayLine.delay;
            }
            c.buttonA = 0;
            c.buttonB = 0;
        }
        attached(mode == kModeChasePan, entry, delayed, c, s, run, rec, st, working);
        break;
    }
    case kModeCockpit:
        working = in.object.position;
        rec.angles = in.object.angles;
        break;
    case kModeAttached:
    case kModeAttachedPan:
        attached(mode == kModeAttachedPan, entry, in.object, c, s, run, rec, st, working);
        break;
    case kModeExternal: {
        if (entry)
            st.orbitAzimuth = Wrap180(in.object.angles[2] + 180.0f);
        float u = 0.0f;
        if (c.buttonA != 0)
            u = -s.maxVelocity * s.dt;
        else if (c.buttonB != 0)
            u = s.maxVelocity * s.dt;
        advanceSpeed(st.orbitSpeed, u, s.drag, s.dt, run);
        st.orbitDistance = std::max(1.0f, st.orbitDistance + st.orbitSpeed.speed);
        const float w = s.maxAngularRate * s.dt;
        st.orbitAzimuth = Wrap180(st.orbitAzimuth - c.stickX * w);
        st.orbitElevation = Wrap180(st.orbitElevation + c.stickY * w);
        const float az = st.orbitAzimuth * kRadPerDeg, el = st.orbitElevation * kRadPerDeg;
        working = VecAdd(
            in.object.position,
            VecScale(Vec3{std::cos(az) * std::cos(el), std::sin(az) * std::cos(el), std::sin(el)},
                     st.orbitDistance));
        rec.angles = aimAngles(working, in.object.position);
        break;
    }
    case kModeExternalLagged: {
        if (entry)
            st.relativeAzimuth = Wrap180(rec.angles[2] + 180.0f - in.object.angles[2]);
        if (c.buttonA != 0)
            st.orbitDistance -= s.maxVelocity * s.dt;
        else if (c.buttonB != 0)
            st.orbitDistance += s.maxVelocity * s.dt;
        st.orbitDistance = std::max(1.0f, st.orbitDistance);
        const float lag = std::exp(-s.dt / (0.9f * s.lag + 0.1f));
        const float w = s.maxAngularRate * s.dt;
        st.relativeAzimuth = Wrap180(st.relativeAzimuth - c.stickX * w);
        st.orbitElevation = Wrap180(st.orbitElevation + c.stickY * w);
        const float az = (in.object.angles[2] + st.relativeAzimuth) * kRadPerDeg;
        const float el = st.orbitElevation * kRadPerDeg;
        const Vec3 wanted = VecAdd(
            in.object.position,
            VecScale(Vec3{std::cos(el) * std::cos(az), std::cos(el) * std::sin(az), std::sin(el)},
                     st.orbitDistance));
        if (entry || !run) {
            st.laggedPosition = wanted;
        } else {
            const Vec3 moved = VecSub(in.object.position, st.lastObjectPosition);
            for (std::size_t i = 0; i < 2; ++i)
                st.laggedPosition[i] =
                    (1.0f - lag) * wanted[i] + lag * st.laggedPosition[i] + lag * moved[i];
            st.laggedPosition[2] = (1.0f - lag) * wanted[2] + lag * st.laggedPosition[2];
        }
        working = st.laggedPosition;
        rec.angles = aimAngles(working, in.object.position);
        break;
    }
    case kModeTvTrack:
        if (entry) {
            st.anchor = rec.position;
            st.smoothedTarget = in.object.position;
        }
        if (entry || !run)
            st.tvLag = std::exp(-s.dt / (0.99f * s.lag + 0.01f));
        st.smoothedTarget = VecAdd(VecScale(in.object.position, 1.0f - st.tvLag),
                                   VecScale(st.smoothedTarget, st.tvLag));
        tvTrack(st.smoothedTarget, c, s, run, rec, st, working);
        break;
    case kModeTvDolly:
        if (entry) {
            st.anchor = rec.position;
            st.pitchOffset = 0.0f;
            st.yawOffset = 0.0f;
        }
        tvTrack(in.object.position, c, s, run, rec, st, working);
        break;
    default:
        break;
    }
    st.workingPosition = working;

    if (run && s.jitterOn)
        applyJitter(s, rec, st, working);

    Vec3 position = working;
    if (run && s.bounceOn && !entry && !first) {
        position = applyBounce(s, cameraAttitude(rec.angles), working, st.bounce);
    } else {
        st.bounce.position = working;
        st.bounce.velocity = Vec3{};
        st.bounce.lastTarget = working;
    }

    rec.position = position;
    wrapAngles(rec.angles);
    st.lastVelocity = VecSub(position, st.lastPosition);
    if (first)
        st.lastVelocity = Vec3{};
    st.lastPosition = position;
    st.lastObjectPosition = in.object.position;
    st.lastMode = mode;
}

} // namespace kv::app
