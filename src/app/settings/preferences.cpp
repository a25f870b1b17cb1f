#include "app/settings/preferences.h"

#include "common/le_io.h"

#include <algorithm>

namespace kv::app {
namespace {

// `P` is the record or its const version; `V` a ByteWriter or ByteReader.
template <class P, class V> void visitPreferences(P& p, V& v) {
    v.i32(p.reserved0);
    v.f32(p.simTimeStep);
    v.i32(p.englishForceUnits);
    v.i32(p.rightHandedAxes);
    v.f32(p.lengthUnitFactor);
    v.i32(p.gridOn);
    v.i32(p.gridCentering);
    v.i32(p.terrainResolutionStep);
    v.f32(p.gridSpacing);
    v.f32(p.gridSize);
    v.i32(p.controllerCentring);
    v.i32(p.cameraReverseLeftRight);
    v.i32(p.cameraReverseUpDown);
    v.i32(p.vehicleReverseLeftRight);
    v.i32(p.vehicleReverseUpDown);
    v.f32(p.deadzone);
    v.f32(p.sensitivity);
    v.i32(p.cameraPreset);
    v.i32(p.actionSafeShown);
    v.i32(p.titleSafeShown);
    v.i32(p.crossLineShown);
    v.i32(p.hatchLineShown);
    v.i32(p.useWindowAspect);
    v.i32(p.cameraMotionParameter);
    v.i32(p.cameraJitter);
    v.i32(p.cameraBounce);
    v.i32(p.recoveryInterval);
    v.i32(p.bounceLockLongitudinal);
    v.i32(p.bounceLockLateral);
    v.i32(p.bounceLockVertical);
    v.f32(p.framePeriod);
    v.f32(p.aspectRatio);
    v.f32(p.fieldOfView);
    v.f32(p.cameraMaxVelocity);
    v.f32(p.cameraMaxAngularRate);
    v.f32(p.cameraDrag);
    v.f32(p.cameraLag);
    v.f32(p.jitterPosition);
    v.f32(p.jitterAngle);
    v.f32(p.bounceDampingRatio);
    v.f32(p.bounceSpring);
    v.f32(p.bounceDampingCoefficient);
    v.i32(p.objectSlots);
    v.i32(p.recordFrames);
    v.i32(p.terrainGrid);
}

/// Adapts the writer to the visitor's field-by-reference calls on a const record.
struct ConstWriter {
    io::ByteWriter& w;
    void i32(const std::int32_t& v) { w.i32(v); }
    void f32(const float& v) { w.f32(v); }
};

} // namespace

void encodePreferences(const Preferences& p, std::span<std::uint8_t, kPreferenceRecordSize> out) {
    io::ByteWriter w(out);
    ConstWriter cw{w};
    visitPreferences(p, cw);
    if (w.position() != kPreferenceRecordSize)
        __builtin_trap();
}

PreferenceImage encodePreferences(const Preferences& p) {
    PreferenceImage image{};
    encodePreferences(p, image);
    return image;
}

void decodePreferences(std::span<const std::uint8_t, kPreferenceRecordSize> in, Preferences& p) {
    io::ByteReader r(in);
    visitPreferences(p, r);
}

int recoveryMinutes(const Preferences& p) {
    const std::int32_t stored = p.recoveryInterval;
    if (stored <= 0 || stored > kMaxRecoveryMinutes + 1)
        return kDefaultRecoveryMinutes;
    return stored - 1;
}

void setRecoveryMinutes(Preferences& p, int minutes) {
    p.recoveryInterval = std::clamp(minutes, 0, kMaxRecoveryMinutes) + 1;
}

void factoryReset(Preferences& p, bool includeMemory) {
    Preferences factory;
    factory.reserved0 = p.reserved0;
    if (!includeMemory) {
        factory.objectSlots = p.objectSlots;
        factory.recordFrames = p.recordFrames;
        factory.terrainGrid = p.terrainGrid;
    }
    p = factory;
}

WorkingUnits workingUnitsOf(const Preferences& prefs) {
    return WorkingUnits{prefs.lengthUnitFactor, prefs.englishForceUnits, prefs.rightHandedAxes};
}

} // namespace kv::app
