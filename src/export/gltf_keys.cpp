#include "export/gltf_keys.h"

#include <algorithm>
#include <cmath>

namespace kv::exp {
namespace {

float wrap180(float v) {
    float r = std::fmod(v, 360.0f);
    if (r > 180.0f)
        r -= 360.0f;
    else if (r < -180.0f)
        r += 360.0f;
    return r;
}

float interpolateAngle(float a, float b, float h) {
    if (b - a > 180.0f)
        return wrap180(a + 360.0f + (b - (a + 360.0f)) * h);
    if (b - a < -180.0f)
        return wrap180(a + (b + 360.0f - a) * h);
    return a + (b - a) * h;
}

/// The change (deg) from angle `a` to angle `b` the short way round, 0..180.
double shortChange(double a, double b) {
    const double d = std::fmod(std::fabs(b - a), 360.0);
    return d > 180.0 ? 360.0 - d : d;
}

} // namespace

model::MotionFrame interpolateFrame(const model::MotionFrame& a, const model::MotionFrame& b,
                                    float h) {
    model::MotionFrame out = a;
    for (std::size_t i = 0; i < out.size(); ++i) {
        if (i == model::kFrameKeyCommand)
            continue;
        if (i >= model::kFrameRoll && i <= model::kFrameYaw)
            out[i] = interpolateAngle(a[i], b[i], h);
        else
            out[i] = a[i] + (b[i] - a[i]) * h;
    }
    return out;
}

double attitudeChange(double rollA, double pitchA, double yawA, double rollB, double pitchB,
                      double yawB, bool shortWay) {
    if (shortWay)
        return shortChange(rollA, rollB) + shortChange(pitchA, pitchB) + shortChange(yawA, yawB);
    return std::fabs(rollB - rollA) + std::fabs(pitchB - pitchA) + std::fabs(yawB - yawA);
}

void NodeKeys::add(float time, const GltfPose& pose) {
    GltfQuaternion q = pose.rotation;
    if (!rotations.empty()) {
        const std::size_t k = rotations.size() - 4;
        q = alignedWith(q, {rotations[k], rotations[k + 1], rotations[k + 2], rotations[k + 3]});
    }
    const std::array<float, 3> t{static_cast<float>(pose.translation[0]),
                                 static_cast<float>(pose.translation[1]),
                                 static_cast<float>(pose.translation[2])};
    const std::array<float, 4> r{static_cast<float>(q[0]), static_cast<float>(q[1]),
                                 static_cast<float>(q[2]), static_cast<float>(q[3])};
    if (!translations.empty()) {
        moves = moves || !std::equal(t.begin(), t.end(), translations.begin()) ||
                !std::equal(r.begin(), r.end(), rotations.begin());
    }
    times.push_back(time);
    translations.insert(translations.end(), t.begin(), t.end());
    rotations.insert(rotations.end(), r.begin(), r.end());
}

std::vector<const model::MotionFrame*> keyableFrames(std::span<const model::MotionFrame> frames) {
    std::vector<const model::MotionFrame*> keys;
    keys.reserve(frames.size());
    for (const model::MotionFrame& f : frames) {
        if (!std::all_of(f.begin(), f.end(), [](float v) { return std::isfinite(v); }))
            continue;
        if (!keys.empty() && !(f[model::kFrameTime] > (*keys.back())[model::kFrameTime]))
            continue;
        keys.push_back(&f);
    }
    return keys;
}

NodeKeys keyNode(std::span<const model::MotionFrame* const> frames, const NodeMotion& motion) {
    NodeKeys keys;
    keys.times.reserve(frames.size());
    keys.translations.reserve(frames.size() * 3);
    keys.rotations.reserve(frames.size() * 4);
    for (std::size_t k = 0; k < frames.size(); ++k) {
        const model::MotionFrame& b = *frames[k];
        if (k > 0) {
            const model::MotionFrame& a = *frames[k - 1];
            const double turn = motion.turn(a, b);
            // A turn that is not a number is keyed at the frames alone; a
            // huge one is bounded so that a damaged file cannot ask for
            // millions of keys between two frames.
            const double steps = std::isfinite(turn)
                                     ? std::min(std::ceil(turn / kMaxKeyTurnDeg),
                                                static_cast<double>(kMaxKeysBetweenFrames))
                                     : 1.0;
            const int n = std::max(1, static_cast<int>(steps));
            const float t0 = a[model::kFrameTime];
            const float t1 = b[model::kFrameTime];
            for (int s = 1; s < n; ++s) {
                const float h = static_cast<float>(s) / static_cast<float>(n);
                const float t = t0 + (t1 - t0) * h;
                if (!(t > keys.times.back()) || !(t < t1))
                    continue;
                keys.add(t, motion.pose(interpolateFrame(a, b, h)));
            }
        }
        keys.add(b[model::kFrameTime], motion.pose(b));
    }
    return keys;
}

} // namespace kv::exp
