#include "simulation/aero/f4_model.h"

#include "simulation/aero/f4_tables.h"

#include <cmath>

namespace kv::sim {

ForceSet f4Aerodynamics(const AeroFlight& f, const AeroSettings& s, F4Cursors& cur) {
    const F4Data& t = kF4Data;
    const float alphaDeg = f.alpha * kDegPerRad;
    const float betaDeg = f.beta * kDegPerRad;
    const float qbarS = f.dynamicPressure() * kF4Area;
    const float kq = f.rateFactor(kF4Chord);
    const float kb = f.rateFactor(kF4Span);
    const float p = f.rates[0], q = f.rates[1], r = f.rates[2];
    const float da = f.control(kAileron) * s.aileronLimit;
    const float de = f.control(kElevator) * s.elevatorLimit;
    const float dr = f.control(kRudder) * s.rudderLimit;

    PlaceTableCursor(cur.alpha21, kF4Alpha21, alphaDeg);
    PlaceTableCursor(cur.alpha11, kF4Alpha11, alphaDeg);
    PlaceTableCursor(cur.mach, kF4Mach, f.mach);
    PlaceTableCursor(cur.flap, kF4Flap, f.control(kFlap));
    const auto a21 = [&](const auto& table) { return InterpolateAtCursor(cur.alpha21, table); };
    const auto a11 = [&](const auto& table) { return InterpolateAtCursor(cur.alpha11, table); };
    const auto m = [&](const auto& table) { return InterpolateAtCursor(cur.mach, table); };
    const auto fl = [&](const auto& table) { return InterpolateAtCursor(cur.flap, table); };
    const float slipPitch = TableLookup2(cur.slipAlpha, cur.slipBeta, kF4SlipAlpha, kF4SlipBeta,
                                         t.p2, alphaDeg, std::fabs(betaDeg));

    const float drag = a21(t.d1) + m(t.d2) + fl(t.d3) + kq * q * a21(t.d4) - de * a21(t.d5);
    const float lift = a21(t.l1) - de * (a21(t.l2) + m(t.l3)) + fl(t.l4) + kq * q * a21(t.l5);
    const float side = betaDeg * (a21(t.y1) + m(t.y2)) + kb * (p * a21(t.y3) + r * a21(t.y4)) -
                       da * a21(t.y5) - dr * a21(t.y6);
    const float roll = betaDeg * (a21(t.r1) + m(t.r2)) + kb * (p * a21(t.r3) + r * a21(t.r4)) -
                       da * (a21(t.r5) + m(t.r6)) - dr * (a11(t.r7) + m(t.r8));
    const float pitch =
        a21(t.p1) + slipPitch + fl(t.p3) + kq * q * a21(t.p4) - de * (a11(t.p5) + m(t.p6));
    // The Mach correction of the weathercock term is per radian of sideslip.
    const float yaw = f.beta * (kDegPerRad * a21(t.n1) + m(t.n2)) +
                      kb * (p * a21(t.n3) + r * a21(t.n4)) - da * (a21(t.n5) + m(t.n6)) -
                      dr * (a11(t.n7) + m(t.n8));

    ForceSet set;
    set.force = {-qbarS * drag, qbarS * side, -qbarS * lift};
    set.moment = {qbarS * kF4Span * roll, qbarS * kF4Chord * pitch, qbarS * kF4Span * yaw};
    return set;
}

} // namespace kv::sim
