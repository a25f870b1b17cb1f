#include "model/motion_playback.h"

#include "common/unit_constants.h"
#include "common/vecmath.h"
#include "model/object_model.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace kv::model {
namespace {

float interpolateAngle(float a, float b, float h) {
    if (b - a > 180.0f) {
        return Wrap180(a + 360.0f + (b - (a + 360.0f)) * h);
    }
    if (b - a < -180.0f) {
        return Wrap180(a + (b + 360.0f - a) * h);
    }
    return a + (b - a) * h;
}

float keyCommandAt(std::span<const MotionFrame> frames, int cursor, float t, float period) {
    int k = cursor;
    while (k > 0) {
        const auto ks = static_cast<std::size_t>(k);
        if (CompareTol(frames[ks][kFrameKeyCommand], 0.0f) != 0) {
            break;
        }
        if (frames[ks - 1][kFrameTime] <= t - period) {
            break;
        }
        --k;
    }
    const MotionFrame& f = frames[static_cast<std::size_t>(k)];
    if (t - period < f[kFrameTime] && f[kFrameTime] <= t) {
        return f[kFrameKeyCommand];
    }
    return 0.0f;
}

} // namespace

void interpolateMotion(MotionStore& store, int slot, int count, float t, float framePeriod,
                       MotionFrame& out, MessagePort& messages) {
    if (count > kFrameFieldCount) {
        count = kFrameFieldCount;
    }
    if (!store.validSlot(slot) || store.maxFrames() < 1) {
        messages.showMessage("Internal error, no motion data to interpolate.");
        return;
    }
    const std::span<const MotionFrame> frames = std::as_const(store).frames(slot);
    const int last = std::min(store.lastFrame(slot), store.maxFrames() - 1);
    if (last < 1) {
        messages.showMessage("Internal error, no motion data to interpolate.");
        for (int i = 1; i < count; ++i) {
            out[static_cast<std::size_t>(i)] = frames[0][static_cast<std::size_t>(i)];
        }
        return;
    }

    int cursor = std::clamp(store.cursor(slot), 0, last - 1);
    if (t < frames[static_cast<std::size_t>(cursor)][kFrameTime]) {
        cursor = 0;
    }
    while (cursor + 1 < last && t >= frames[static_cast<std::size_t>(cursor) + 1][kFrameTime]) {
        ++cursor;
    }
    store.setCursor(slot, cursor);

    const MotionFrame& a = frames[static_cast<std::size_t>(cursor)];
    const MotionFrame& b = frames[static_cast<std::size_t>(cursor) + 1];
    if (cursor + 1 == last && t > b[kFrameTime]) {
        t = b[kFrameTime];
    }
    const float span = b[kFrameTime] - a[kFrameTime];
    const float h = span != 0.0f ? (t - a[kFrameTime]) / span : 0.0f;
    for (int i = 1; i < count; ++i) {
        const auto is = static_cast<std::size_t>(i);
        if (i == kFrameKeyCommand) {
            out[is] = keyCommandAt(frames, cursor, t, framePeriod);
        } else if (i == kFrameRoll || i == kFramePitch || i == kFrameYaw) {
            out[is] = interpolateAngle(a[is], b[is], h);
        } else {
            out[is] = a[is] + (b[is] - a[is]) * h;
        }
    }
}

float motionLength(const MotionStore& store, int slot) {
    if (!store.validSlot(slot) || store.lastFrame(slot) < 0 ||
        store.lastFrame(slot) >= store.maxFrames()) {
        return 0.0f;
    }
    return store.frames(slot)[static_cast<std::size_t>(store.lastFrame(slot))][kFrameTime];
}

std::optional<InitialConditions>
initialConditionsFromMotion(const std::filesystem::path& file, float t, float framePeriod,
                            const MotionTarget& camera, MotionStore& store, MessagePort& messages) {
    bool reportErrors = true;
    bool read = loadMotion(file, camera, store, reportErrors, messages);
    if (read && store.lastFrame(camera.slot) < 1) {
        // A motion of fewer than two frames has no rates to take; said once
        // here rather than once per sample by the interpolation.
        reportOnce(reportErrors, messages,
                   "The motion file could not be loaded because it contains no motion data.");
        read = false;
    }
    std::optional<InitialConditions> result;
    if (read) {
        constexpr int kCount = kFrameYaw + 1;
        MotionFrame now{};
        MotionFrame ahead{};
        MotionFrame behind{};
        interpolateMotion(store, camera.slot, kCount, t, framePeriod, now, messages);
        interpolateMotion(store, camera.slot, kCount, t + framePeriod, framePeriod, ahead,
                          messages);
        interpolateMotion(store, camera.slot, kCount, t - framePeriod, framePeriod, behind,
                          messages);

        InitialConditions ic;
        const float twoDt = 2.0f * framePeriod;
        Vec3 earthVelocity{};
        for (int i = 0; i < 3; ++i) {
            const auto is = static_cast<std::size_t>(i);
            const auto p = static_cast<std::size_t>(kFrameNorth + i);
            const auto r = static_cast<std::size_t>(kFrameRoll + i);
            ic.position[is] = now[p] * kFeetPerMetre;
            ic.attitude[is] = now[r];
            earthVelocity[is] =
                twoDt != 0.0f ? (ahead[p] - behind[p]) / twoDt * kFeetPerMetre : 0.0f;
        }
        Mat3 earthToBody{};
        EulerToMatrix(ic.attitude[0], ic.attitude[1], ic.attitude[2], earthToBody);
        MatVec3(earthToBody, earthVelocity, ic.velocity);

        // Angle differences across the +-180 seam are taken the short way round;
        // otherwise a heading passing south would read as a spin of ~360 deg.
        Vec3 eulerRate{};
        for (int i = 0; i < 3; ++i) {
            const auto r = static_cast<std::size_t>(kFrameRoll + i);
            eulerRate[static_cast<std::size_t>(i)] =
                twoDt != 0.0f ? Wrap180(ahead[r] - behind[r]) / twoDt : 0.0f;
        }
        const float phi = ic.attitude[0] / kDegPerRad;
        const float theta = ic.attitude[1] / kDegPerRad;
        ic.rates[0] = eulerRate[0] - std::sin(theta) * eulerRate[2];
        ic.rates[1] = std::cos(phi) * eulerRate[1] + std::cos(theta) * std::sin(phi) * eulerRate[2];
        ic.rates[2] =
            -std::sin(phi) * eulerRate[1] + std::cos(theta) * std::cos(phi) * eulerRate[2];
        result = ic;
    }
    if (camera.record != nullptr) {
        resetCamera(*camera.record);
    }
    if (camera.geometry.clear) {
        camera.geometry.clear();
    }
    store.clearSlot(camera.slot);
    return result;
}

} // namespace kv::model
