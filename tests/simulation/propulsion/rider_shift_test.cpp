#include "simulation/body/body_setup.h"
#include "simulation/compute_derivatives.h"
#include "simulation/propulsion/rider_shift.h"
#include "simulation/sim_fixtures.h"

#include <cmath>
#include <gtest/gtest.h>

namespace kv::sim {
namespace {

TEST(RiderShift, UprightRiderAddsWeightDownAndAMomentOnlyWhenLeaning) {
    SimObject obj;
    obj.forces.propulsion.force = {10.0f, 0.0f, 0.0f};
    RiderShift(obj);
    EXPECT_EQ(obj.forces.propulsion.force, (Vec3{10.0f, 0.0f, 180.0f}));
    EXPECT_EQ(obj.forces.propulsion.moment, (Vec3{}));

    struct Case {
        float longitudinal;
        float lateral;
        Vec3 moment;
    };
    // seat (2 lon, 2 lat, -1.5) x (0, 0, 180) = (360 lat, -360 lon, 0)
    const Case cases[] = {
        {1.0f, 0.0f, {0.0f, -360.0f, 0.0f}}, // forward lean pitches nose down
        {-1.0f, 0.0f, {0.0f, 360.0f, 0.0f}}, // back lean pitches nose up
        {0.0f, 1.0f, {360.0f, 0.0f, 0.0f}},  // right lean rolls right
        {0.0f, -0.5f, {-180.0f, 0.0f, 0.0f}},
    };
    for (const Case& c : cases) {
        SimObject leaning;
        leaning.controls.channels[kLongitudinalCyclic] = c.longitudinal;
        leaning.controls.channels[kLateralCyclic] = c.lateral;
        RiderShift(leaning);
        EXPECT_EQ(leaning.forces.propulsion.moment, c.moment);
    }
}

TEST(RiderShift, WeightTurnsWithTheBodyAndTheHeightGivesARightingMoment) {
    SimObject obj;
    const float roll = 0.5235988f; // 30 deg right
    EulerToMatrix(30.0f, 0.0f, 0.0f, obj.earthToBody);
    RiderShift(obj);
    const Vec3& f = obj.forces.propulsion.force;
    EXPECT_NEAR(f[0], 0.0f, 1e-4f);
    EXPECT_NEAR(f[1], 180.0f * std::sin(roll), 1e-3f);
    EXPECT_NEAR(f[2], 180.0f * std::cos(roll), 1e-3f);
    // The weight 1.5 ft above the reference rolls the machine further over.
    EXPECT_NEAR(obj.forces.propulsion.moment[0], 1.5f * 180.0f * std::sin(roll), 1e-3f);
}

TEST(RiderShift, OnlyAMotorcycleCarriesTheRider) {
    for (std::int32_t type :
         {model::kVehicleCar, model::kVehicleMotorcycle, model::kVehicleAircraft}) {
        model::ObjectRecord r = test::freeBody();
        r.vehicleType = type;
        SimObject obj;
        setUpBody(obj, r);
        Environment e;
        e.gravity = 0.0f;
        BodyState s = obj.state;
        const StateDerivative d = ComputeDerivatives(kPredictorStage, s, obj, e);
        const float rider = type == model::kVehicleMotorcycle ? kRiderWeight / obj.mass : 0.0f;
        EXPECT_FLOAT_EQ(d.acceleration[2], rider) << "vehicle type " << type;
    }
}

} // namespace
} // namespace kv::sim
