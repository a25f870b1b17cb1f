#pragma once
/// Keys of one animated glTF node. glTF turns a node between two rotation keys
/// along the short arc, so a wheel or rotor blade that turns more than half a
/// turn from one recorded frame to the next would crawl or run backwards.
/// Keys are therefore added between frames, at the motion's own
/// interpolation, so that no step of a rotation turns more than a quarter
/// turn.

#include "export/gltf_pose.h"
#include "model/motion_frame.h"

#include <functional>
#include <span>
#include <vector>

namespace kv::exp {

/// Most a node turns (deg) from one rotation key to the next.
inline constexpr double kMaxKeyTurnDeg = 90.0;
/// Most key steps between two frames: 250 turns a frame, far beyond any
/// wheel or rotor, so only a damaged motion reaches it.
inline constexpr int kMaxKeysBetweenFrames = 1000;

/// The frame at fraction `h` (0..1) from `a` to `b` as motion playback
/// interpolates it: each field linearly, roll, pitch and yaw the short way
/// round and normalised to [-180, 180]. The key command is `a`'s.
model::MotionFrame interpolateFrame(const model::MotionFrame& a, const model::MotionFrame& b,
                                    float h);

/// Sum of the changes (deg) of roll, pitch and yaw from `a` to `b`, each
/// taken the short way round: no less than the angle of the turn between
/// the two attitudes.
double attitudeChange(double rollA, double pitchA, double yawA, double rollB, double pitchB,
                      double yawB, bool shortWay);

/// What a node's pose is in a frame, and how far it turns between two frames
/// (deg, at least the angle of the turn).
struct NodeMotion {
    std::function<GltfPose(const model::MotionFrame&)> pose;
    std::function<double(const model::MotionFrame&, const model::MotionFrame&)> turn;
};

/// Times (s), translations and rotations of one node, rotations kept on one
/// side of the quaternion sphere from key to key.
struct NodeKeys {
    std::vector<float> times;
    std::vector<float> translations;
    std::vector<float> rotations;
    /// Whether any key differs from the first.
    bool moves = false;

    void add(float time, const GltfPose& pose);
};

/// The frames of `frames` a glTF animation can key: those whose every field
/// is finite and whose time is later than the previous key's, since glTF
/// needs strictly increasing key times.
std::vector<const model::MotionFrame*> keyableFrames(std::span<const model::MotionFrame> frames);

/// The keys of `motion` over `frames` (finite, times strictly increasing):
/// one at every frame and, between two frames whose turn exceeds
/// kMaxKeyTurnDeg, evenly spaced interpolated ones.
NodeKeys keyNode(std::span<const model::MotionFrame* const> frames, const NodeMotion& motion);

} // namespace kv::exp
