#include "simulation/aero/b747_model.h"

#include "simulation/aero/b747_tables.h"

#include <algorithm>
#include <cmath>

namespace kv::sim {

namespace {

/// `value` / `reference` when `value` is a usable mass property, else 1.
float ratioOrOne(float value, float reference) {
    return std::isfinite(value) && value > 0.0f ? value / reference : 1.0f;
}

} // namespace

void scaleB747ToObject(AeroSettings& settings, float mass, const Mat3& inertia) {
    settings.forceScale = ratioOrOne(mass, kB747Mass);
    settings.momentScale = {ratioOrOne(inertia[0], kB747RollInertia),
                            ratioOrOne(inertia[4], kB747PitchInertia),
                            ratioOrOne(inertia[8], kB747YawInertia)};
}

ForceSet b747Aerodynamics(const AeroFlight& f, const AeroSettings& s, B747Cursors& cur) {
    const B747Data& t = kB747Data;
    const float alpha = f.alpha * kDegPerRad + kB747AlphaShift;
    const float betaDeg = f.beta * kDegPerRad;
    const float qbarS = f.dynamicPressure() * kB747Area;
    const float kq = f.rateFactor(kB747Chord);
    const float kb = f.rateFactor(kB747Span);
    const float p = f.rates[0], q = f.rates[1], r = f.rates[2];
    const float alphaDot = std::clamp(f.alphaDot, -kB747MaxAlphaDot, kB747MaxAlphaDot);
    const float da = f.control(kAileron) * s.aileronLimit;
    const float de = f.control(kElevator) * s.elevatorLimit;
    const float dr = f.control(kRudder) * s.rudderLimit;
    const float flap = f.control(kFlap);
    const float gear = f.control(kGear);
    const float brake = f.control(kBrake);

    PlaceTableCursor(cur.alpha, kB747Alpha, alpha);
    PlaceTableCursor(cur.mach, kB747Mach, f.mach);
    PlaceTableCursor(cur.beta, kB747Beta, betaDeg);
    const auto a = [&](const auto& table) { return InterpolateAtCursor(cur.alpha, table); };
    const auto m = [&](const auto& table) { return InterpolateAtCursor(cur.mach, table); };
    const auto b = [&](const auto& table) { return InterpolateAtCursor(cur.beta, table); };
    const auto fa = [&](const auto& table) {
        return TableLookup2(cur.flap, cur.alpha, kB747Flap, kB747Alpha, table, flap, alpha);
    };

    const float drag = 0.028f * gear + betaDeg * b(t.d1) + m(t.d2) + fa(t.d0) +
                       brake * (0.006f + alpha * (-0.00224f * flap - 0.0007f * (1.0f - flap))) -
                       0.25f * de * a(t.d3);
    const float lift =
        fa(t.l0) + alpha * m(t.l1) + kq * q * m(t.l2) + brake * fa(t.l3) - 0.25f * de * m(t.l4);
    const float side =
        -0.015f * betaDeg + kb * (p * fa(t.y1) + r * fa(t.y2)) - 0.25f * dr * a(t.y3);
    const float roll = 0.25f * da * a(t.r1) + betaDeg * b(t.r2) * fa(t.r3) +
                       kb * (p * fa(t.r4) + r * a(t.r5)) - 0.25f * dr * a(t.r6);
    const float pitch =
        fa(t.p0) + b(t.p1) + kq * (q * m(t.p2) - 3.4f * alphaDot) - 0.25f * de * m(t.p3);
    const float yaw = 0.25f * da * a(t.n1) + betaDeg * a(t.n2) +
                      kb * (p * fa(t.n3) + r * fa(t.n4)) - 0.25f * dr * a(t.n5);

    ForceSet set;
    set.force = {-qbarS * drag, qbarS * side, -qbarS * lift};
    set.moment = {qbarS * kB747Span * roll, qbarS * kB747Chord * pitch, qbarS * kB747Span * yaw};
    return set;
}

} // namespace kv::sim
