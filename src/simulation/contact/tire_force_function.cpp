#include "simulation/contact/tire_model.h"

#include <array>
#include <cmath>

namespace kv::sim {

namespace {

/// Coefficients of one tire family. e0..e3 shape the saturation curve, fmax
/// is the load limit (lbf); a, b and c give cornering stiffness, longitudinal
/// stiffness and friction as functions of load; g scales the aligning moment.
/// d1 and d2 belong to the lateral offset term, whose input is always 0.
struct TireFamily {
    float e0, e1, e2, e3, fmax, a2, a1, a3, d1, d2, c1, c3, c2, b, g;
};

constexpr std::array<TireFamily, 3> kFamilies = {{
    {0.535f, 1.05f, 1.15f, 0.8f, 900.0f, 817.0f, 7.48f, 2455.0f, 1.857f, 3643.0f, -0.000257f, 1.19f,
     2.64e-8f, 15.22f, -0.000195f},
    {1.0f, 0.34f, 0.57f, 0.32f, 980.0f, 1068.0f, 11.3f, 2442.73f, 0.31f, -1877.0f, -0.000169f,
     1.04f, 1.69e-8f, 17.91f, -8e-5f},
    {1.0f, 0.34f, 0.57f, 0.32f, 810.0f, 914.02f, 12.9f, 2028.24f, 1.19f, -1019.2f, 0.0003396f,
     1.19f, 4.98e-8f, 18.7f, -0.000122f},
}};

/// Tire inflation pressure the contact term assumes (psi).
constexpr float kPressure = 24.0f;

struct Fixed {
    const TireFamily* f;
    float fz;        ///< load, capped (lbf)
    float lambda;    ///< contact term
    float muT;       ///< friction
    float cAlpha;    ///< cornering stiffness
    float cS;        ///< longitudinal stiffness
    float speedTerm; ///< 0.1 |v|^(1/4)
    float sign;      ///< SignOf(v)
};

struct Pair {
    float fx = 0.0f;
    float fy = 0.0f;
    float sigma = 0.0f;
};

Pair forces(const Fixed& k, float alpha, float s) {
    Pair p;
    const float ca = std::cos(alpha);
    const float sa = std::sin(alpha);
    const float ta = std::tan(alpha);
    const float combined = std::sqrt(s * s * ca * ca + sa * sa);
    const float muE = (1.0f - k.speedTerm * combined) * k.muT;
    const float cB = (k.cAlpha - k.cS) * combined + k.cS;
    const float ratio = k.cS * s / (1.0f - s);
    const float sigma = kPi * k.lambda * std::sqrt(k.cAlpha * k.cAlpha * ta * ta + ratio * ratio) /
                        (8.0f * k.muT * k.fz);
    const TireFamily& f = *k.f;
    const float sat = (1.2732395f * sigma + f.e1 * sigma * sigma + f.e0 * sigma * sigma * sigma) /
                      (f.e2 * sigma * sigma + f.e3 * sigma + f.e0 * sigma * sigma * sigma + 1.0f);
    const float r = std::sqrt(cB * cB * s * s + k.cAlpha * k.cAlpha * ta * ta);
    p.sigma = sigma;
    if (r == 0.0f) {
        return p;
    }
    p.fx = -k.sign * sat * cB * s / r * muE * k.fz;
    p.fy = -sat * k.cAlpha * ta / r * muE * k.fz;
    return p;
}

} // namespace

TireFunctionOutput tireForceFunction(int tireType, float width, float alpha, float slip, float fz,
                                     float v, float grip) {
    TireFunctionOutput out;
    if (!(fz > 0.0f)) {
        return out;
    }
    const TireFamily& f =
        kFamilies[static_cast<std::size_t>(tireType >= 1 && tireType <= 3 ? tireType - 1 : 0)];
    alpha = std::fmax(-1.553343f, std::fmin(alpha, 1.553343f));
    slip = std::fmax(-0.99f, std::fmin(slip, 0.99f));

    Fixed k;
    k.f = &f;
    k.fz = MinOf(fz, f.fmax);
    // A tire without width would divide by zero in the contact term; it gets
    // the same 0.1 ft floor as a tire without radius.
    const float w = 12.0f * MaxOf(width, 0.1f);
    const float root = std::sqrt(k.fz * f.fmax) * 0.0768f / ((kPressure + 5.0f) * w);
    k.lambda = root * root;
    k.muT = (f.c1 * k.fz + f.c2 * k.fz * k.fz + f.c3) * grip / 85.0f;
    if (!(k.muT > 0.0f)) {
        // No grip: the road transmits nothing.
        return out;
    }
    k.cAlpha = (f.a1 * k.fz + f.a2 - (f.a1 / f.a3) * k.fz * k.fz) * 2.0f / k.lambda;
    k.cS = f.b * k.fz * 2.0f / k.lambda;
    k.speedTerm = 0.1f * std::pow(std::fabs(v), 0.25f);
    k.sign = SignOf(v);

    const Pair base = forces(k, alpha, slip);
    out.fx = base.fx;
    out.fy = base.fy;
    const float ta = std::tan(alpha);
    const float sigma2 = base.sigma * base.sigma;
    const float ratio = k.cS * slip / (1.0f - slip);
    out.aligning = k.lambda * k.fz * f.g * ta / ((sigma2 + 1.0f) * (sigma2 + 1.0f)) *
                   (0.5f * k.cAlpha + (sigma2 + 2.0f) * ratio);

    const Pair slipped = forces(k, alpha, slip + 0.0001f);
    out.dFxdSlip = (slipped.fx - base.fx) / 0.0001f;
    const Pair turned = forces(k, alpha + 0.01f, slip);
    out.dFydAngle = (turned.fy - base.fy) / 0.01f;
    return out;
}

} // namespace kv::sim
