#pragma once
/// Coefficients of the linear helicopter model, scheduled on forward speed.
///
/// Each coefficient is named after the equation it enters and the quantity it
/// multiplies: `Z_x0` is the vertical acceleration per unit coning, `E1_s1`
/// the first cross-coupling term per unit of actuator signal s1. Translational
/// coefficients give ft/s^2 and angular ones rad/s^2 per unit of their
/// quantity; p~ and q~ are the filtered roll and pitch rates.

#include "common/table_lookup.h"

#include <array>

namespace kv::sim {

/// Forward speeds at which the coefficients are given: hover and 80 knots
/// (ft/s). Between them a coefficient is linear in u; outside it holds.
inline constexpr std::array<float, 2> kRotorScheduleSpeeds{0.0f, 135.02479553222656f};

struct RotorCoefficients {
    float X_w = 0.0f;
    float X_r = 0.0f;
    float X_x1 = 0.0f;
    float X_s3 = 0.0f;
    float X_s4 = 0.0f;
    float Y_v = 0.0f;
    float Y_w = 0.0f;
    float Y_pf = 0.0f;
    float Y_qf = 0.0f;
    float Y_r = 0.0f;
    float Y_x2 = 0.0f;
    float Y_s4 = 0.0f;
    float Z_v = 0.0f;
    float Z_w = 0.0f;
    float Z_pf = 0.0f;
    float Z_qf = 0.0f;
    float Z_r = 0.0f;
    float Z_x0 = 0.0f;
    float Z_x3 = 0.0f;
    float Z_x1 = 0.0f;
    float Z_x2 = 0.0f;
    float Z_s2 = 0.0f;
    float Z_s3 = 0.0f;
    float Z_s4 = 0.0f;
    float Z_x9 = 0.0f;
    float Z_x7 = 0.0f;
    float Z_B = 0.0f;
    float L_w = 0.0f;
    float L_qf = 0.0f;
    float L_r = 0.0f;
    float L_x2 = 0.0f;
    float L_s3 = 0.0f;
    float L_s4 = 0.0f;
    float M_v = 0.0f;
    float M_w = 0.0f;
    float M_pf = 0.0f;
    float M_qf = 0.0f;
    float M_r = 0.0f;
    float M_x1 = 0.0f;
    float M_s3 = 0.0f;
    float M_s4 = 0.0f;
    float N_v = 0.0f;
    float N_w = 0.0f;
    float N_pf = 0.0f;
    float N_qf = 0.0f;
    float N_r = 0.0f;
    float N_x1 = 0.0f;
    float N_x2 = 0.0f;
    float N_x0 = 0.0f;
    float N_s3 = 0.0f;
    float N_s4 = 0.0f;
    float N_x10 = 0.0f;
    float N_x7 = 0.0f;
    float N_s2 = 0.0f;
    float x6_x7 = 0.0f;
    float x6_p = 0.0f;
    float x6_x3 = 0.0f;
    float x6_x0 = 0.0f;
    float x6_x1 = 0.0f;
    float x6_x5 = 0.0f;
    float x6_x2 = 0.0f;
    float x6_s2 = 0.0f;
    float x6_s3 = 0.0f;
    float E1_q = 0.0f;
    float E1_x4 = 0.0f;
    float E1_x1 = 0.0f;
    float E1_x2 = 0.0f;
    float E1_x0 = 0.0f;
    float E1_s1 = 0.0f;
    float E2_p = 0.0f;
    float E2_x0 = 0.0f;
    float E2_x1 = 0.0f;
    float E2_x2 = 0.0f;
    float E2_x3 = 0.0f;
    float E2_x5 = 0.0f;
    float E2_s2 = 0.0f;
    float E2_s3 = 0.0f;
    float d4_x1 = 0.0f;
    float d5_x2 = 0.0f;
    float pf_p = 0.0f;
    float qf_q = 0.0f;
    float d12_p = 0.0f;
    float d13_p = 0.0f;
    float k_a = 0.0f;
    float k_b = 0.0f;
    float d14_q = 0.0f;
    float d15_q = 0.0f;
};

/// One coefficient's two scheduled values.
struct RotorCoefficientRow {
    float RotorCoefficients::*field;
    float atHover;   ///< value at u = 0
    float at80Knots; ///< value at u = 135.02479553222656 ft/s
};

/// Every coefficient of the model with its two values.
extern const std::array<RotorCoefficientRow, 87> kRotorCoefficientRows;

/// Places `cursor` on the schedule at forward speed `u` (ft/s) and looks up
/// every coefficient there.
RotorCoefficients scheduleRotorCoefficients(TableCursor& cursor, float u);

} // namespace kv::sim
