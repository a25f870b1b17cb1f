#include "simulation/rotor/rotor_coefficients.h"

#include "common/unit_constants.h"

namespace kv::sim {

// Stability and control derivatives of an attack helicopter of the Apache's
// class, linearised about trim at hover and at 80 knots.
const std::array<RotorCoefficientRow, 87> kRotorCoefficientRows{{
    {&RotorCoefficients::X_w, 0.0f, 0.03199f},
    {&RotorCoefficients::X_r, 0.0f, 1.495f},
    {&RotorCoefficients::X_x1, -kStandardGravity, -kStandardGravity},
    {&RotorCoefficients::X_s3, 16.94f, 34.74f},
    {&RotorCoefficients::X_s4, 0.0f, 4.563f},
    {&RotorCoefficients::Y_v, -0.21927f, -1.6f},
    {&RotorCoefficients::Y_w, 0.0f, -0.03226f},
    {&RotorCoefficients::Y_pf, 1.82002f, 0.0f},
    {&RotorCoefficients::Y_qf, 0.0f, 1.97298f},
    {&RotorCoefficients::Y_r, 1.49554f, 3.86122f},
    {&RotorCoefficients::Y_x2, kStandardGravity, kStandardGravity},
    {&RotorCoefficients::Y_s4, 28.66f, 23.16f},
    {&RotorCoefficients::Z_v, 0.0f, -0.13072f},
    {&RotorCoefficients::Z_w, -0.7164f, -1.14694f},
    {&RotorCoefficients::Z_pf, 0.0f, 21.4258f},
    {&RotorCoefficients::Z_qf, -2.00552f, 0.0f},
    {&RotorCoefficients::Z_r, 2.28973f, 0.0f},
    {&RotorCoefficients::Z_x0, 53.4131f, 76.31f},
    {&RotorCoefficients::Z_x3, 20.6428f, 20.71f},
    {&RotorCoefficients::Z_x1, 0.0f, -73.3814f},
    {&RotorCoefficients::Z_x2, 0.0f, 166.2f},
    {&RotorCoefficients::Z_s2, 0.0f, 61.73f},
    {&RotorCoefficients::Z_s3, -389.7f, -444.9f},
    {&RotorCoefficients::Z_s4, 9.328f, 0.0f},
    {&RotorCoefficients::Z_x9, -1.48315f, 0.0f},
    {&RotorCoefficients::Z_x7, 0.7164f, 0.0f},
    {&RotorCoefficients::Z_B, 1.143f, 0.0f},
    {&RotorCoefficients::L_w, 0.0f, -0.04281f},
    {&RotorCoefficients::L_qf, 0.0f, 1.83466f},
    {&RotorCoefficients::L_r, 0.0f, -0.44307f},
    {&RotorCoefficients::L_x2, 48.65f, 54.1226f},
    {&RotorCoefficients::L_s3, -3.679f, -8.412f},
    {&RotorCoefficients::L_s4, 6.183f, 6.888f},
    {&RotorCoefficients::M_v, 0.007714f, 0.01359f},
    {&RotorCoefficients::M_w, 0.0f, 0.005361f},
    {&RotorCoefficients::M_pf, 0.0f, -0.31541f},
    {&RotorCoefficients::M_qf, 0.0f, -0.71402f},
    {&RotorCoefficients::M_r, -0.1697f, -0.42013f},
    {&RotorCoefficients::M_x1, 5.22099f, 7.2221f},
    {&RotorCoefficients::M_s3, 3.78f, 3.743f},
    {&RotorCoefficients::M_s4, -2.541f, -2.353f},
    {&RotorCoefficients::N_v, 0.0f, 0.01f},
    {&RotorCoefficients::N_w, -0.01246f, -0.02141f},
    {&RotorCoefficients::N_pf, 0.0f, 0.32402f},
    {&RotorCoefficients::N_qf, -0.36757f, 0.0f},
    {&RotorCoefficients::N_r, -0.44439f, -1.23212f},
    {&RotorCoefficients::N_x1, 0.0f, -14.3631f},
    {&RotorCoefficients::N_x2, 4.49138f, 5.30503f},
    {&RotorCoefficients::N_x0, -0.443f, -0.5507f},
    {&RotorCoefficients::N_s3, 3.235f, 3.21f},
    {&RotorCoefficients::N_s4, -7.021f, -3.66f},
    {&RotorCoefficients::N_x10, 0.01759f, 0.0f},
    {&RotorCoefficients::N_x7, 0.01246f, 0.0f},
    {&RotorCoefficients::N_s2, 0.0f, -9.13f},
    {&RotorCoefficients::x6_x7, 1.34481f, 0.0f},
    {&RotorCoefficients::x6_p, 0.0f, -3.60789f},
    {&RotorCoefficients::x6_x3, 25.4825f, 25.4837f},
    {&RotorCoefficients::x6_x0, 101.001f, 141.8f},
    {&RotorCoefficients::x6_x1, 0.0f, -7.32182f},
    {&RotorCoefficients::x6_x5, 0.0f, -3.33719f},
    {&RotorCoefficients::x6_x2, 0.0f, -33.54f},
    {&RotorCoefficients::x6_s2, 0.0f, 194.8f},
    {&RotorCoefficients::x6_s3, -737.0f, -765.3f},
    {&RotorCoefficients::E1_q, 17.4309f, 27.2855f},
    {&RotorCoefficients::E1_x4, 16.2757f, 25.4837f},
    {&RotorCoefficients::E1_x1, 64.5182f, 139.3f},
    {&RotorCoefficients::E1_x2, 439.479f, 702.18f},
    {&RotorCoefficients::E1_x0, 0.0f, -194.835f},
    {&RotorCoefficients::E1_s1, -470.8f, -751.1f},
    {&RotorCoefficients::E2_p, 17.4309f, 27.29f},
    {&RotorCoefficients::E2_x0, 0.0f, -67.08f},
    {&RotorCoefficients::E2_x1, -439.479f, -673.731f},
    {&RotorCoefficients::E2_x2, 64.5182f, 144.2f},
    {&RotorCoefficients::E2_x3, 0.0f, -6.674f},
    {&RotorCoefficients::E2_x5, 16.2757f, 25.4837f},
    {&RotorCoefficients::E2_s2, -470.8f, -779.5f},
    {&RotorCoefficients::E2_s3, 0.0f, -389.7f},
    {&RotorCoefficients::d4_x1, -29.2093f, -29.2056f},
    {&RotorCoefficients::d5_x2, -29.2093f, -29.2056f},
    {&RotorCoefficients::pf_p, 1.241f, 0.9467f},
    {&RotorCoefficients::qf_q, 1.482f, 0.9313f},
    {&RotorCoefficients::d12_p, -1.56f, -2.435f},
    {&RotorCoefficients::d13_p, -75.11f, 29.94f},
    {&RotorCoefficients::k_a, -356.0f, -284.4f},
    {&RotorCoefficients::k_b, -6.62f, -6.072f},
    {&RotorCoefficients::d14_q, -1.89f, -0.5532f},
    {&RotorCoefficients::d15_q, -161.9f, 22.93f},
}};

RotorCoefficients scheduleRotorCoefficients(TableCursor& cursor, float u) {
    PlaceTableCursor(cursor, kRotorScheduleSpeeds, u);
    RotorCoefficients k;
    for (const RotorCoefficientRow& row : kRotorCoefficientRows) {
        const std::array<float, 2> values{row.atHover, row.at80Knots};
        k.*row.field = InterpolateAtCursor(cursor, values);
    }
    return k;
}

} // namespace kv::sim
