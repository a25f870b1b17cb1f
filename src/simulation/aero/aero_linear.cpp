#include "simulation/aero/aero_linear.h"

#include <cmath>

namespace kv::sim {

ForceSet linearAerodynamics(const AeroFlight& f, const AeroSettings& s) {
    const auto& c = s.coefficients;
    const float qbarS = f.dynamicPressure() * s.area;
    const float kb = f.rateFactor(s.span);
    const float kc = f.rateFactor(s.chord);
    const float p = f.rates[0], q = f.rates[1], r = f.rates[2];
    const float da = f.control(kAileron) * s.aileronLimit * kRadPerDeg;
    const float de = f.control(kElevator) * s.elevatorLimit * kRadPerDeg;
    const float dr = f.control(kRudder) * s.rudderLimit * kRadPerDeg;
    const float beta = f.beta;

    const float cl =
        (f.alpha + s.initialAoa) * c[kLiftAoa] + kc * q * c[kLiftPitchRate] + de * c[kLiftElevator];
    const float cd =
        c[kBasicDrag] + c[kDragLiftSquared] * cl * cl + std::fabs(de) * c[kDragElevator];
    const float cy = beta * c[kSideSkid] + kb * (p * c[kSideRollRate] + r * c[kSideYawRate]) +
                     da * c[kSideAileron] + dr * c[kSideRudder];
    const float croll = beta * c[kRollSkid] + kb * (p * c[kRollRollRate] + r * c[kRollYawRate]) +
                        da * c[kRollAileron] + dr * c[kRollRudder];
    const float cm = (f.alpha - s.initialAoa) * c[kPitchAoa] + kc * q * c[kPitchPitchRate] +
                     de * c[kPitchElevator];
    const float cn = beta * c[kYawSkid] + kb * (p * c[kYawRollRate] + r * c[kYawYawRate]) +
                     da * c[kYawAileron] + dr * c[kYawRudder];

    ForceSet set;
    set.force = {-cd * qbarS, cy * qbarS, -cl * qbarS};
    set.moment = {croll * qbarS * s.span, cm * qbarS * s.chord, cn * qbarS * s.span};
    return set;
}

} // namespace kv::sim
