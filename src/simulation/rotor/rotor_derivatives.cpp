#include "simulation/rotor/rotor_derivatives.h"

#include "common/unit_constants.h"
#include "simulation/rotor/rotor_coefficients.h"

#include <algorithm>
#include <cmath>

// Every sum below is single precision, evaluated left to right in the order
// of its terms: the build does not contract or reorder them, and recorded
// runs depend on the exact roundings.

namespace kv::sim {

namespace {

/// The four pilot channels scaled to the mixer's inputs: collective C,
/// lateral cyclic A, longitudinal cyclic B, pedal D.
struct MixerInputs {
    float C, A, B, D;
};

MixerInputs mixerInputs(const ControlBlock& controls) {
    const auto& ch = controls.channels;
    return {(1.25f * ch[kCollective] - 0.25f) * 5.0f, 10.0f * ch[kLateralCyclic],
            10.0f * ch[kLongitudinalCyclic], 5.0f * ch[kPedal]};
}

RotorActuators mix(const MixerInputs& m) {
    const float C = m.C, A = m.A, B = m.B, D = m.D;
    return {
        -0.00577f * C + 0.00832f * B + 0.02753f * A - 0.00478f * D,
        0.00723f * C - 0.04869f * B + 0.00471f * A + 0.02798f * D,
        0.02795f * C,
        0.02795f * C - 0.09667f * D,
    };
}

} // namespace

RotorActuators rotorActuatorSignals(const ControlBlock& controls) {
    return mix(mixerInputs(controls));
}

void RotorDerivatives(const RotorInputs& in, TableCursor& cursor, ControlBlock& controls,
                      RotorActuators& actuators, RotorState& x, RotorState& xdot,
                      ForceSet& forces) {
    const float u = in.velocity[0], v = in.velocity[1], w = in.velocity[2];
    const float p = in.rates[0], q = in.rates[1], r = in.rates[2];
    const RotorCoefficients k = scheduleRotorCoefficients(cursor, u);

    const MixerInputs mixer = mixerInputs(controls);
    const float C = mixer.C, B = mixer.B;
    actuators = mix(mixer);
    const float s1 = actuators[0], s2 = actuators[1], s3 = actuators[2], s4 = actuators[3];
    controls.mainRotorPitch = s3;
    controls.tailRotorPitch = s4;

    const float pf = k.pf_p * p + x[12];
    const float qf = k.qf_q * q + x[14];

    const float blend = std::clamp(u / kRotorBlendSpeed, 0.0f, 1.0f);
    const float LS = (1.0f - blend) * u;
    const float HS = (u - kRotorBlendSpeed) * blend;
    const float vib = 0.3f * std::sin(4.0f * in.time * kTwoPi);

    const float L = k.L_r * r + 0.0409f * LS + k.L_qf * qf + k.L_w * w + k.L_x2 * x[2] +
                    k.L_s3 * s3 + k.L_s4 * s4 + 0.01011f * HS;
    const float M = k.M_r * r - 0.01406f * LS + k.M_pf * pf + k.M_qf * qf + k.M_v * v + k.M_w * w +
                    k.M_x1 * x[1] + k.M_s3 * s3 + k.M_s4 * s4 - 0.005802f * HS;
    const float N = k.N_r * r + k.N_pf * pf + k.N_qf * qf + k.N_x10 * x[10] + k.N_s2 * s2 -
                    0.0187f * LS + k.N_x0 * x[0] + k.N_v * v + k.N_w * w + k.N_x1 * x[1] +
                    k.N_x2 * x[2] + k.N_s3 * s3 + k.N_s4 * s4 + k.N_x7 * x[7] + 0.003419f * HS;

    const float Z = vib + k.Z_r * r + k.Z_pf * pf + k.Z_x3 * x[3] + k.Z_qf * qf + k.Z_s2 * s2 +
                    k.Z_x0 * x[0] + k.Z_x9 * x[9] + k.Z_B * B + k.Z_v * v + k.Z_w * w +
                    k.Z_x1 * x[1] + k.Z_x2 * x[2] + k.Z_s3 * s3 + k.Z_s4 * s4 + k.Z_x7 * x[7] +
                    0.23035f * HS;

    const float E1 = k.E1_q * q + k.E1_s1 * s1 + k.E1_x4 * x[4] + k.E1_x0 * x[0] + k.E1_x1 * x[1] +
                     k.E1_x2 * x[2];
    const float E2 = k.E2_x3 * x[3] + k.E2_x5 * x[5] + k.E2_s2 * s2 + k.E2_x0 * x[0] + k.E2_p * p +
                     k.E2_x1 * x[1] + k.E2_x2 * x[2] + k.E2_s3 * s3;

    x[6] = k.x6_x7 * x[7] - 1.34481f * w + k.x6_x3 * x[3] + k.x6_x5 * x[5] + k.x6_s2 * s2 +
           k.x6_x0 * x[0] + k.x6_p * p + k.x6_x1 * x[1] + k.x6_x2 * x[2] + k.x6_s3 * s3;

    xdot[0] = x[3];
    xdot[1] = x[4];
    xdot[2] = x[5];
    xdot[3] = -758.2f * x[0] - 0.03025f * Z - x[6];
    xdot[4] = k.d4_x1 * x[1] - 56.16f * p - 2.0f * (x[9] + 27.0f) * x[5] - M - E1;
    xdot[5] = 56.16f * q + k.d5_x2 * x[2] + 2.0f * (x[9] + 27.0f) * x[4] - L - E2;
    xdot[6] = 0.0f;
    xdot[9] = -32.2f * s3 + 0.02419f * x[7] - 0.3331f * x[9] + 0.10737f * x[10] + 2.988f * x[3] + N;
    xdot[10] = -7.847f * x[10] + 3106.0f * (0.0016f * C + x[11]);
    xdot[11] = (-0.0595f * x[9] - 0.0909f * x[8] - x[11]) / 0.067f;
    xdot[8] = x[9];
    xdot[7] = 12.44f * w + 1.4f * xdot[9] - 17.03f * x[7] - 197.3f * x[3] + 20.02f * x[9];
    xdot[12] = k.d12_p * p + x[13];
    xdot[13] = k.k_a * x[12] + k.d13_p * p + k.k_b * x[13];
    xdot[14] = k.d14_q * q + x[15];
    xdot[15] = k.k_a * x[14] + k.k_b * x[15] + k.d15_q * q;

    const float X = vib + k.X_r * r - 0.0443f * LS + k.X_w * w + k.X_x1 * x[1] + k.X_s3 * s3 +
                    k.X_s4 * s4 - 0.01f * HS;
    const float Y = vib + k.Y_r * r + k.Y_pf * pf + k.Y_qf * qf + k.Y_v * v + k.Y_w * w +
                    k.Y_x2 * x[2] + k.Y_s4 * s4 + 0.05161f * HS;

    forces.force = {in.mass * X, in.mass * Y, in.mass * (Z - in.gravity)};
    forces.moment = {in.inertia[0] * L, in.inertia[1] * M, in.inertia[2] * N};
}

} // namespace kv::sim
