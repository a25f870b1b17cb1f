#include "app/camera/camera_math.h"

#include <cmath>

namespace kv::app {

Mat3 cameraAttitude(const Vec3& a) {
    const float sr = std::sin(a[0] * kRadPerDeg), cr = std::cos(a[0] * kRadPerDeg);
    const float sp = std::sin(a[1] * kRadPerDeg), cp = std::cos(a[1] * kRadPerDeg);
    const float sy = std::sin(a[2] * kRadPerDeg), cy = std::cos(a[2] * kRadPerDeg);
    return Mat3{cp * cy,
                cp * sy,
                -sp,
                sr * sp * cy - cr * sy,
                sr * sp * sy + cr * cy,
                sr * cp,
                cr * sp * cy + sr * sy,
                cr * sp * sy - sr * cy,
                cr * cp};
}

Vec3 anglesOfAttitude(const Mat3& m) {
    return Vec3{std::atan2(m[5], m[8]) * kDegPerRad,
                std::atan2(-m[2], std::sqrt(m[0] * m[0] + m[1] * m[1])) * kDegPerRad,
                std::atan2(m[1], m[0]) * kDegPerRad};
}

Vec3 aimAngles(const Vec3& eye, const Vec3& target) {
    const float dx = target[0] - eye[0];
    const float dy = target[1] - eye[1];
    const float dz = target[2] - eye[2];
    if (dx == 0.0f && dy == 0.0f && dz == 0.0f)
        return Vec3{0.0f, 0.0f, 0.0f};
    return Vec3{0.0f, std::atan2(-dz, std::sqrt(dx * dx + dy * dy)) * kDegPerRad,
                std::atan2(dy, dx) * kDegPerRad};
}

Vec3 viewDirection(float pitchDeg, float yawDeg) {
    const float cp = std::cos(pitchDeg * kRadPerDeg);
    return Vec3{cp * std::cos(yawDeg * kRadPerDeg), cp * std::sin(yawDeg * kRadPerDeg),
                -std::sin(pitchDeg * kRadPerDeg)};
}

void advanceSpeed(SpeedIntegrator& integ, float u, float drag, float dt, bool runActive) {
    if (!runActive) {
        integ = SpeedIntegrator{};
        return;
    }
    for (int i = 0; i < 5; ++i) {
        const float a = u - integ.speed * drag;
        integ.speed = integ.speed + (3.0f * a - integ.lastAccel) * dt * 0.1f;
        integ.lastAccel = a;
    }
}

namespace {

/// Uniform value in (-1, 1) from a 31-bit linear congruential generator.
float nextUniform(NormalSource& s) {
    s.seed = s.seed * 1103515245u + 12345u;
    const std::uint32_t bits = (s.seed >> 1) & 0x7fffffffu;
    return static_cast<float>(bits) / 1073741824.0f - 1.0f;
}

} // namespace

float nextNormal(NormalSource& s) {
    if (s.haveSpare) {
        s.haveSpare = false;
        return s.spare;
    }
    float u = 0.0f, v = 0.0f, r = 0.0f;
    do {
        u = nextUniform(s);
        v = nextUniform(s);
        r = u * u + v * v;
    } while (r >= 1.0f || r == 0.0f);
    const float f = std::sqrt(-2.0f * std::log(r) / r);
    s.spare = v * f;
    s.haveSpare = true;
    return u * f;
}

void recordPose(PoseDelayLine& line, const Pose& pose, float time, bool firstFrame) {
    if (line.delay < kMinDelay)
        line.delay = kMinDelay;
    if (line.delay > kMaxDelay)
        line.delay = kMaxDelay;
    if (firstFrame) {
        line.entries.fill(pose);
        line.writeIndex = 0;
        line.lastTime = time;
        return;
    }
    if (time != line.lastTime) {
        line.entries[static_cast<std::size_t>(line.writeIndex)] = pose;
        line.writeIndex = (line.writeIndex + 1) % kDelayEntries;
        line.lastTime = time;
    }
}

const Pose& delayedPose(const PoseDelayLine& line) {
    const int i = ((line.writeIndex - line.delay) % kDelayEntries + kDelayEntries) % kDelayEntries;
    return line.entries[static_cast<std::size_t>(i)];
}

} // namespace kv::app
