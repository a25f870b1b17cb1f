#include "simulation/aero/f16_model.h"

#include "simulation/aero/f16_tables.h"

namespace kv::sim {

ForceSet f16Aerodynamics(const AeroFlight& f, const AeroSettings& s, F16Cursors& cur) {
    const F16Data& t = kF16Data;
    const float alphaDeg = f.alpha * kDegPerRad;
    const float betaDeg = f.beta * kDegPerRad;
    const float qbarS = f.dynamicPressure() * kF16Area;
    const float kq = f.rateFactor(kF16Chord);
    const float kb = f.rateFactor(kF16Span);
    const float p = f.rates[0], q = f.rates[1], r = f.rates[2];
    const float aileron = f.control(kAileron) * s.aileronLimit / kF16ControlTableDeflection;
    const float rudder = f.control(kRudder) * s.rudderLimit / kF16ControlTableDeflection;
    const float de = f.control(kElevator) * s.elevatorLimit;
    const float retracted = 1.0f - f.control(kFlap);
    const float brake = f.control(kBrake);

    PlaceTableCursor(cur.alpha, kF16Alpha, alphaDeg);
    const auto a = [&](const F16AlphaTable& table) {
        return InterpolateAtCursor(cur.alpha, table);
    };
    // Basic table plus the retracted-flap share of the difference to the flap table.
    const auto blend = [&](const F16Table& basic, const F16FlapTable& flap) {
        const float down =
            TableLookup2(cur.beta, cur.alpha, kF16Beta, kF16Alpha, basic, betaDeg, alphaDeg);
        const float up =
            TableLookup2(cur.beta, cur.alphaFlap, kF16Beta, kF16FlapAlpha, flap, betaDeg, alphaDeg);
        return down + retracted * (up - down);
    };

    const float cx =
        blend(t.cx, t.cxFlap) + kq * q * a(t.cxq) + de * a(t.cxElevator) + brake * a(t.cxBrake);
    const float cz = blend(t.cz, t.czFlap) + kq * q * a(t.czq) + de * a(t.czElevator);
    const float cm =
        blend(t.cm, t.cmFlap) + kq * q * a(t.cmq) + de * a(t.cmElevator) + kF16CgShift * cz;
    const float cy = blend(t.cy, t.cyFlap) + kb * (p * a(t.cyp) + r * a(t.cyr)) +
                     aileron * a(t.cyAileron) + rudder * a(t.cyRudder);
    const float cl = blend(t.cl, t.clFlap) + kb * (p * a(t.clp) + r * a(t.clr)) +
                     aileron * a(t.clAileron) + rudder * a(t.clRudder);
    const float cn = blend(t.cn, t.cnFlap) + kb * (p * a(t.cnp) + r * a(t.cnr)) +
                     aileron * a(t.cnAileron) + rudder * a(t.cnRudder) -
                     kF16CgShift * kF16Chord / kF16Span * cy;

    ForceSet set;
    set.force = {qbarS * cx, qbarS * cy, qbarS * cz};
    set.moment = {qbarS * kF16Span * cl, qbarS * kF16Chord * cm, qbarS * kF16Span * cn};
    bodyToStability(f.alpha, set.force, set.moment);
    return set;
}

} // namespace kv::sim
