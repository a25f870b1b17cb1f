#include "simulation/contact/tire_model.h"

#include <cmath>
#include <gtest/gtest.h>

namespace kv::sim {
namespace {

constexpr float kDt = 1.0f / 120.0f;

TireInput loaded(float vx, float vy, float load) {
    TireInput in;
    in.dt = kDt;
    in.velocity = {vx, vy, 0.0f};
    in.load = load;
    in.compression = load < 0.0f ? 0.1f : 0.0f;
    in.radius = 1.0f;
    in.width = 0.6f;
    in.wheelInertia = wheelInertiaFor(1.0f);
    in.braking = 1.0f;
    in.tireType = 1;
    in.grip = 200.0f;
    return in;
}

TEST(WheelInertia, IsASolidDiscWithAFloor) {
    EXPECT_FLOAT_EQ(wheelInertiaFor(0.5f), 1.5f);
    EXPECT_FLOAT_EQ(wheelInertiaFor(2.0f), 0.8333333333333333f * 8.0f);
}

TEST(SkidLaw, FrictionGrowsWithSpeedUntilFiveTimesTheLoad) {
    const float load = -100.0f;
    float previous = 0.0f;
    for (float v : {0.5f, 5.0f, 20.0f, 49.0f}) {
        const TireOutput out = skidLaw({v, 0.0f, 0.0f}, load, 1.0f);
        EXPECT_LT(out.fx, previous); // opposes forward sliding, growing
        EXPECT_FLOAT_EQ(out.fx, 0.1f * v * load);
        EXPECT_NEAR(out.skid, std::fabs(out.fx) / 500.0f, 1e-6f);
        previous = out.fx;
    }
    const TireOutput fast = skidLaw({100.0f, -300.0f, 0.0f}, load, 1.0f);
    EXPECT_FLOAT_EQ(fast.fx, -500.0f);
    EXPECT_FLOAT_EQ(fast.fy, 500.0f);
    EXPECT_NEAR(fast.skid, std::sqrt(2.0f), 1e-6f);
    const TireOutput braked = skidLaw({10.0f, 0.0f, 0.0f}, load, 2.0f);
    EXPECT_FLOAT_EQ(braked.fx, 2.0f * 0.1f * 10.0f * load);
    EXPECT_EQ(skidLaw({10.0f, 0.0f, 0.0f}, 0.0f, 1.0f).skid, 0.0f);
}

TEST(SimpleTireLaw, AnUnloadedWheelSpinsDownOnePercentPerEvaluation) {
    TireState s;
    s.spin = 50.0f;
    TireInput in = loaded(30.0f, 0.0f, 0.0f);
    for (int i = 1; i <= 3; ++i) {
        const TireOutput out = simpleTireLaw(in, s);
        EXPECT_EQ(out.skid, 0.0f) << "an airborne wheel is not skidding";
    }
    EXPECT_FLOAT_EQ(s.spin, 50.0f * 0.99f * 0.99f * 0.99f);
}

TEST(SimpleTireLaw, ALoadedWheelRollsWithTheGround) {
    TireState s;
    TireInput in = loaded(30.0f, 0.0f, -400.0f);
    in.radius = 1.5f;
    simpleTireLaw(in, s);
    EXPECT_FLOAT_EQ(s.spin, 20.0f);
    in.radius = 0.0f;
    simpleTireLaw(in, s);
    EXPECT_FLOAT_EQ(s.spin, 300.0f) << "zero radius counts as 0.1 ft";
}

TEST(SimpleTireLaw, LateralForceHasAnIntegralTermAndALimit) {
    TireState s;
    // Slow sideways creep: the integrator accumulates dt * vy.
    TireInput in = loaded(1.0f, 0.5f, -400.0f);
    TireOutput out = simpleTireLaw(in, s);
    EXPECT_FLOAT_EQ(s.lateralIntegrator, kDt * 0.5f);
    EXPECT_FLOAT_EQ(out.fy, (0.5f + kDt * 0.5f) * -400.0f);
    EXPECT_EQ(out.skid, 0.0f);
    // Fast: the integrator resets and the force saturates at five times the load.
    in = loaded(10.0f, 5.0f, -400.0f);
    out = simpleTireLaw(in, s);
    EXPECT_EQ(s.lateralIntegrator, 0.0f);
    EXPECT_FLOAT_EQ(out.fy, -2000.0f);
    EXPECT_EQ(out.skid, 1.0f);
}

TEST(SimpleTireLaw, RollingResistanceDriveAndBrake) {
    TireState s;
    TireInput in = loaded(0.5f, 0.0f, -400.0f);
    TireOutput out = simpleTireLaw(in, s);
    EXPECT_FLOAT_EQ(out.fx, 0.01f * 0.5f * -400.0f);

    in.driven = true;
    in.drivenCount = 2;
    in.driveTorque = 300.0f;
    out = simpleTireLaw(in, s);
    EXPECT_FLOAT_EQ(out.fx, 300.0f / (1.0f * 2.0f) + 0.01f * 0.5f * -400.0f);

    in = loaded(5.0f, 0.0f, -400.0f);
    in.braked = true;
    in.brake = 1.0f;
    in.braking = 2.0f;
    out = simpleTireLaw(in, s);
    EXPECT_FLOAT_EQ(out.fx, 2.0f * 2.0f * -400.0f * 1.0f + 0.01f * 1.0f * -400.0f);
    EXPECT_EQ(s.holdIntegrator, 0.0f) << "no hold while rolling at 1 ft/s or more";
}

TEST(SimpleTireLaw, BrakeHoldWindsUpOnlyWhileHeldAndNearlyAtRest) {
    struct Case {
        float vx;
        float brake;
        float compression;
        bool winds;
    };
    const Case cases[] = {
        {0.2f, 1.0f, 0.1f, true},  {0.2f, 0.5f, 0.1f, false}, {0.2f, 1.0f, 0.0f, false},
        {1.0f, 1.0f, 0.1f, false}, {-0.3f, 0.8f, 0.1f, true},
    };
    for (const Case& c : cases) {
        TireState s;
        s.holdIntegrator = 0.5f;
        TireInput in = loaded(c.vx, 0.0f, -400.0f);
        in.braked = true;
        in.brake = c.brake;
        in.compression = c.compression;
        in.pitch = -0.1f;
        const TireOutput out = simpleTireLaw(in, s);
        const float expected = c.winds ? 0.5f + 10.0f * kDt * c.vx : 0.0f;
        EXPECT_FLOAT_EQ(s.holdIntegrator, expected) << c.vx << " " << c.brake;
        const float sClamp = std::fmax(-1.0f, std::fmin(c.vx, 1.0f));
        EXPECT_FLOAT_EQ(out.fx, 2.0f * 1.0f * -400.0f * (c.brake * sClamp + expected * 0.1f) +
                                    0.01f * sClamp * -400.0f);
    }
    // The integrator saturates at 1.
    TireState s;
    s.holdIntegrator = 0.999f;
    TireInput in = loaded(0.9f, 0.0f, -400.0f);
    in.braked = true;
    in.brake = 1.0f;
    simpleTireLaw(in, s);
    EXPECT_EQ(s.holdIntegrator, 1.0f);
}

TEST(TireForceFunction, NoLoadGivesNothing) {
    const TireFunctionOutput out = tireForceFunction(1, 0.6f, 0.1f, 0.1f, 0.0f, 30.0f, 200.0f);
    EXPECT_EQ(out.fx, 0.0f);
    EXPECT_EQ(out.fy, 0.0f);
    EXPECT_EQ(out.dFxdSlip, 0.0f);
    EXPECT_EQ(out.dFydAngle, 0.0f);
}

TEST(TireForceFunction, ForcesOpposeSlipAndSaturateBelowTheFriction) {
    for (int family = 1; family <= 3; ++family) {
        const float fz = 500.0f;
        const TireFunctionOutput small =
            tireForceFunction(family, 0.6f, 0.0f, 0.01f, fz, 30.0f, 200.0f);
        EXPECT_LT(small.fx, 0.0f) << "a braking slip pulls back";
        EXPECT_EQ(small.fy, 0.0f);
        EXPECT_LT(small.dFxdSlip, -1000.0f) << "stiff near zero slip";
        const TireFunctionOutput back =
            tireForceFunction(family, 0.6f, 0.0f, 0.01f, fz, -30.0f, 200.0f);
        EXPECT_FLOAT_EQ(back.fx, -small.fx) << "the sign follows the direction of travel";

        const TireFunctionOutput turned =
            tireForceFunction(family, 0.6f, 0.05f, 0.0f, fz, 30.0f, 200.0f);
        EXPECT_LT(turned.fy, 0.0f) << "a positive slip angle pushes left";
        EXPECT_LT(turned.dFydAngle, 0.0f);

        // Far beyond the peak the force levels off below mu * Fz.
        const TireFunctionOutput locked =
            tireForceFunction(family, 0.6f, 0.0f, 2.0f, fz, 30.0f, 200.0f);
        const TireFunctionOutput nearly =
            tireForceFunction(family, 0.6f, 0.0f, 0.99f, fz, 30.0f, 200.0f);
        EXPECT_EQ(locked.fx, nearly.fx) << "slip clamps at 0.99";
        EXPECT_LT(std::fabs(locked.fx), 3.0f * fz);
        EXPECT_GT(locked.dFxdSlip, -1000.0f) << "saturated";
    }
}

TEST(TireForceFunction, DerivativesAreForwardDifferences) {
    const float alpha = 0.03f, slip = 0.02f, fz = 450.0f;
    const TireFunctionOutput base = tireForceFunction(2, 0.5f, alpha, slip, fz, 40.0f, 150.0f);
    const TireFunctionOutput ds =
        tireForceFunction(2, 0.5f, alpha, slip + 0.0001f, fz, 40.0f, 150.0f);
    const TireFunctionOutput da =
        tireForceFunction(2, 0.5f, alpha + 0.01f, slip, fz, 40.0f, 150.0f);
    EXPECT_FLOAT_EQ(base.dFxdSlip, (ds.fx - base.fx) / 0.0001f);
    EXPECT_FLOAT_EQ(base.dFydAngle, (da.fy - base.fy) / 0.01f);
}

TEST(TireForceFunction, FamiliesDifferAndLoadIsCapped) {
    const float a = tireForceFunction(1, 0.6f, 0.05f, 0.0f, 500.0f, 30.0f, 200.0f).fy;
    const float b = tireForceFunction(2, 0.6f, 0.05f, 0.0f, 500.0f, 30.0f, 200.0f).fy;
    const float c = tireForceFunction(3, 0.6f, 0.05f, 0.0f, 500.0f, 30.0f, 200.0f).fy;
    EXPECT_NE(a, b);
    EXPECT_NE(b, c);
    // Beyond Fmax (900 lbf for Radial) nothing changes.
    EXPECT_EQ(tireForceFunction(1, 0.6f, 0.05f, 0.0f, 900.0f, 30.0f, 200.0f).fy,
              tireForceFunction(1, 0.6f, 0.05f, 0.0f, 5000.0f, 30.0f, 200.0f).fy);
}

TEST(TireForceFunction, NoGripOrNoWidthStaysFinite) {
    const TireFunctionOutput none = tireForceFunction(1, 0.6f, 0.1f, 0.1f, 500.0f, 30.0f, 0.0f);
    EXPECT_EQ(none.fx, 0.0f);
    EXPECT_EQ(none.fy, 0.0f);
    const TireFunctionOutput thin = tireForceFunction(1, 0.0f, 0.1f, 0.1f, 500.0f, 30.0f, 200.0f);
    EXPECT_TRUE(std::isfinite(thin.fx));
    EXPECT_TRUE(std::isfinite(thin.fy));
    EXPECT_TRUE(std::isfinite(thin.dFxdSlip));
}

TEST(DetailedTireLaw, BelowTenFeetPerSecondTheWheelRolls) {
    TireState s;
    TireInput in = loaded(6.0f, 0.0f, -500.0f);
    in.radius = 1.5f;
    detailedTireLaw(in, s);
    // The resisting torque uses the spin found by the previous evaluation.
    const TireOutput out = detailedTireLaw(in, s);
    EXPECT_FLOAT_EQ(s.spin, 4.0f);
    EXPECT_EQ(s.slip, 0.0f);
    // Only the rolling resistance of 5 * clamp(spin) acts.
    EXPECT_FLOAT_EQ(out.fx, -5.0f * 1.0f / 1.5f);
    EXPECT_EQ(out.fy, 0.0f);
}

TEST(DetailedTireLaw, LowSpeedSlipAngleAndIntegrator) {
    TireState s;
    TireInput in = loaded(2.0f, 1.0f, -500.0f);
    detailedTireLaw(in, s);
    EXPECT_FLOAT_EQ(s.slipAngle, 0.05f);
    EXPECT_FLOAT_EQ(s.lateralIntegrator, 0.2f * kDt * 1.0f);
    // Beyond 10 degrees of slip angle the integrator resets.
    in.velocity = {2.0f, 4.0f, 0.0f};
    detailedTireLaw(in, s);
    EXPECT_EQ(s.lateralIntegrator, 0.0f);
    EXPECT_FLOAT_EQ(s.slipAngle, 0.2f + 0.2f * kDt * 1.0f);
}

TEST(DetailedTireLaw, HardBrakingAtSpeedLocksAndReleasingUnlocks) {
    TireState s;
    TireInput in = loaded(60.0f, 0.0f, -500.0f);
    in.stage = 1;
    in.braked = true;
    in.brake = 1.0f;
    in.braking = 2.0f;
    s.spin = 60.0f;
    bool locked = false;
    for (int i = 0; i < 40 && !locked; ++i) {
        const TireOutput out = detailedTireLaw(in, s);
        EXPECT_LE(out.fx, 0.0f);
        EXPECT_GE(out.skid, 0.0f);
        EXPECT_LE(out.skid, 1.0f);
        locked = s.lock != 0.0f;
    }
    ASSERT_TRUE(locked);
    EXPECT_EQ(s.spin, 0.0f);
    EXPECT_EQ(s.slip, 1.0f);
    const TireOutput sliding = detailedTireLaw(in, s);
    EXPECT_LT(sliding.fx, 0.0f);
    EXPECT_EQ(s.spin, 0.0f);

    in.brake = 0.1f;
    detailedTireLaw(in, s);
    EXPECT_NE(s.lock, 0.0f) << "only a fully released brake unlocks";
    in.brake = 0.0f;
    detailedTireLaw(in, s);
    EXPECT_EQ(s.lock, 0.0f);
}

TEST(DetailedTireLaw, DriveTorqueSpinsTheWheelUpAndPushesForward) {
    TireState s;
    TireInput in = loaded(40.0f, 0.0f, -500.0f);
    in.stage = 1;
    in.driven = true;
    in.drivenCount = 2;
    in.driveTorque = 800.0f;
    s.spin = 40.0f;
    TireOutput out;
    for (int i = 0; i < 20; ++i) {
        out = detailedTireLaw(in, s);
    }
    EXPECT_GT(s.spin, 40.0f);
    EXPECT_LT(s.slip, 0.0f);
    EXPECT_GT(out.fx, 0.0f);
    // The corrector stage reuses the slip without advancing the spin.
    const float spin = s.spin;
    in.stage = 2;
    const TireOutput again = detailedTireLaw(in, s);
    EXPECT_EQ(s.spin, spin);
    EXPECT_GT(again.fx, 0.0f);
}

TEST(DetailedTireLaw, OffTheGroundTheWheelSpinsDownByItsResistanceInThePredictorOnly) {
    TireState s;
    s.spin = 30.0f;
    s.slipAngle = 0.2f;
    s.slip = 0.3f;
    TireInput in = loaded(0.0f, 0.0f, 0.0f);
    in.stage = 2;
    TireOutput out = detailedTireLaw(in, s);
    EXPECT_EQ(s.spin, 30.0f);
    EXPECT_EQ(s.slipAngle, 0.0f);
    EXPECT_EQ(s.slip, 0.0f);
    in.stage = 1;
    out = detailedTireLaw(in, s);
    EXPECT_EQ(out.fx, 0.0f);
    EXPECT_EQ(out.fy, 0.0f);
    EXPECT_EQ(out.skid, 0.0f);
    // Resisting torque 5 * clamp(0.2 * 30) = 5 ft*lbf for dt in three parts.
    EXPECT_NEAR(s.spin, 30.0f - 5.0f / 1.5f * kDt, 1e-4f);
}

TEST(DetailedTireLaw, HighSpeedSlipAngleFollowsTheVelocityAndFoldsWhenReversing) {
    TireState s;
    TireInput in = loaded(30.0f, 3.0f, -500.0f);
    in.stage = 2;
    TireOutput out = detailedTireLaw(in, s);
    EXPECT_FLOAT_EQ(s.slipAngle, std::atan2(3.0f, 30.0f));
    EXPECT_LT(out.fy, 0.0f);
    in.velocity = {-30.0f, 3.0f, 0.0f};
    out = detailedTireLaw(in, s);
    EXPECT_NEAR(s.slipAngle, kPi - std::atan2(3.0f, -30.0f), 1e-5f);
    EXPECT_LT(std::fabs(s.slipAngle), kHalfPi);
}

} // namespace
} // namespace kv::sim
