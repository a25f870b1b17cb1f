// What the physical dialogs change in a run: the default car of a new project
// is driven through the document's run loop (Simulation > Begin without a
// window) with the stick full forward to 60 mph and then full back until it
// stops, or dropped on its roof, once as it is and once after a dialog's OK.

#include "app/customize/aero_form.h"
#include "app/customize/collision_form.h"
#include "app/customize/engine_form.h"
#include "app/customize/mass_form.h"
#include "app/customize/tires_form.h"
#include "app/document/headless_run.h"
#include "app/input/input_keys.h"
#include "common/unit_constants.h"
#include "support/document_ports.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <gtest/gtest.h>

namespace kv::app {
namespace {

constexpr float k60Mph = 60.0f * kFpsPerMph;

struct DriveFigures {
    float timeTo60 = -1.0f;     ///< s from rest
    float slowTime = -1.0f;     ///< s from 60 mph to below 1 mph
    float stopTime = -1.0f;     ///< s from 60 mph to rest (below 0.05 ft/s)
    float stopDistance = -1.0f; ///< ft from 60 mph to rest
};

/// Stick full forward (throttle) to 60 mph, then full back (brakes) until the
/// car stands still, then ESC; reads the simulated object's state as a
/// driver reads the speedometer.
class SixtyAndStop final : public sim::ControlsPort {
  public:
    SixtyAndStop(const Document& doc, InputState& input) : doc_(doc), input_(input) {}

    void readControls(const sim::CameraRecord&, sim::ControlRecord& vehicle,
                      sim::ControlRecord& cameraControls) override {
        vehicle = sim::ControlRecord{};
        cameraControls = sim::ControlRecord{};
        const sim::SimObject& car = doc_.run().slots[0].sim;
        const float speed = std::hypot(car.earthVelocity[0], car.earthVelocity[1]);
        const float t = car.frameTime;
        if (figures.timeTo60 < 0.0f) {
            if (speed >= k60Mph && t > 0.0f) {
                figures.timeTo60 = t;
                brakeFrom_ = t;
                brakeAt_ = car.position;
            } else {
                vehicle.stickY = -1.0f;
                return;
            }
        }
        if (figures.slowTime < 0.0f && speed < kFpsPerMph && t > brakeFrom_)
            figures.slowTime = t - brakeFrom_;
        if (figures.stopTime < 0.0f) {
            if (speed < 0.05f && t > brakeFrom_) {
                figures.stopTime = t - brakeFrom_;
                figures.stopDistance =
                    std::hypot(car.position[0] - brakeAt_[0], car.position[1] - brakeAt_[1]);
                input_.pendingKey = kKeyEscape;
            } else {
                vehicle.stickY = 1.0f;
            }
        }
    }

    DriveFigures figures;

  private:
    const Document& doc_;
    InputState& input_;
    float brakeFrom_ = 0.0f;
    Vec3 brakeAt_{};
};

/// The run of a new project's car after `customize` changed its record.
template <typename Customize> DriveFigures drive(Customize customize) {
    test::DocumentRig rig;
    Document& doc = *rig.doc;
    doc.preferences().framePeriod = 1.0f / 30.0f;
    customize(doc.object(0));
    doc.resetSimulation();
    InputState input;
    SixtyAndStop controls(doc, input);
    HeadlessLimits limits;
    limits.frames = 90 * 30;
    const HeadlessResult result = runHeadless(doc, controls, input, limits, rig.messages);
    EXPECT_EQ(result.end, HeadlessEnd::Escape) << "the car never stopped";
    return controls.figures;
}

void print(const char* what, const DriveFigures& f) {
    std::printf("%-24s 0-60 mph %5.2f s; 60-1 mph %5.2f s, at rest after %5.2f s over %6.1f ft\n",
                what, static_cast<double>(f.timeTo60), static_cast<double>(f.slowTime),
                static_cast<double>(f.stopTime), static_cast<double>(f.stopDistance));
}

DriveFigures withBraking(const char* percent) {
    return drive([percent](model::ObjectRecord& car) {
        TiresModel tires(car);
        TiresSharedForm shared = tires.openedShared();
        ASSERT_EQ(shared.braking, "100");
        shared.braking = percent;
        ASSERT_FALSE(tires.accept(shared, tires.tire(0), car.tires));
    });
}

// On a nominal dry road full braking already takes the tires to their grip
// limit, so braking harder than 100 % locks the wheels sooner and stops no
// shorter (there is no anti-lock system); weaker brakes stop longer.
TEST(CustomizeEffect, WeakerBrakesStopTheCarLonger) {
    const DriveFigures weak = withBraking("50");
    const DriveFigures base = withBraking("100");
    const DriveFigures strong = withBraking("200");
    print("car, Braking (%) 50:", weak);
    print("car, Braking (%) 100:", base);
    print("car, Braking (%) 200:", strong);
    ASSERT_GT(base.stopDistance, 0.0f);
    EXPECT_GT(weak.stopDistance, base.stopDistance * 1.2f);
    EXPECT_GT(weak.slowTime, base.slowTime);
    EXPECT_GE(strong.stopDistance, base.stopDistance * 0.9f);
}

TEST(CustomizeEffect, TwiceTheMassReachesSixtyLater) {
    const DriveFigures base = drive([](model::ObjectRecord&) {});
    const DriveFigures heavy = drive([](model::ObjectRecord& car) {
        const MassForm shown = massFormFor(car.mass, 1);
        MassForm edited = shown;
        edited.values[0] = "4040"; // lb, twice the template's 2020 lb
        ASSERT_FALSE(applyMassForm(shown, edited, 1, car.mass));
    });
    print("car, Mass (lb) 2020:", base);
    print("car, Mass (lb) 4040:", heavy);
    ASSERT_GT(base.timeTo60, 0.0f);
    ASSERT_GT(heavy.timeTo60, 0.0f);
    EXPECT_GT(heavy.timeTo60, base.timeTo60 * 1.1f);
    EXPECT_GT(heavy.stopDistance, base.stopDistance * 1.2f);
}

// The template car is traction-limited from rest (its wheels spin at launch),
// so more power barely helps; less power shows.
TEST(CustomizeEffect, HalfThePowerReachesSixtyLater) {
    const DriveFigures base = drive([](model::ObjectRecord&) {});
    const DriveFigures weak = drive([](model::ObjectRecord& car) {
        const EngineModel engine(car, 1);
        ASSERT_EQ(engine.openedPower(), "175.0");
        ASSERT_FALSE(engine.accept("87.5", car));
    });
    print("car, Car (HP) 175:", base);
    print("car, Car (HP) 87.5:", weak);
    ASSERT_GT(base.timeTo60, 0.0f);
    ASSERT_GT(weak.timeTo60, 0.0f);
    EXPECT_GT(weak.timeTo60, base.timeTo60 * 1.2f);
}

TEST(CustomizeEffect, FourTimesTheDragReachesSixtyLater) {
    const DriveFigures base = drive([](model::ObjectRecord&) {});
    const DriveFigures draggy = drive([](model::ObjectRecord& car) {
        const AeroForm shown = aeroFormFor(car.aero, kFeetPerMetre);
        ASSERT_EQ(shown.coefficients[3], "0.2900");
        AeroForm edited = shown;
        edited.coefficients[3] = "1.16";
        ASSERT_FALSE(applyAeroForm(shown, edited, kFeetPerMetre, car.aero));
    });
    print("car, Basic Drag 0.29:", base);
    print("car, Basic Drag 1.16:", draggy);
    ASSERT_GT(base.timeTo60, 0.0f);
    ASSERT_GT(draggy.timeTo60, 0.0f);
    EXPECT_GT(draggy.timeTo60, base.timeTo60 * 1.05f);
}

/// How the car's body bounces off the ground.
struct DropFigures {
    float impactSpeed = -1.0f; ///< downward speed at the first impact (ft/s)
    float rebound = 0.0f;      ///< highest climb after the first impact (ft)
};

/// No controls; watches the car fall, hit the ground and climb back.
class DropWatch final : public sim::ControlsPort {
  public:
    explicit DropWatch(const Document& doc) : doc_(doc) {}

    void readControls(const sim::CameraRecord&, sim::ControlRecord& vehicle,
                      sim::ControlRecord& cameraControls) override {
        vehicle = sim::ControlRecord{};
        cameraControls = sim::ControlRecord{};
        const sim::SimObject& car = doc_.run().slots[0].sim;
        const float down = car.earthVelocity[2];
        if (figures.impactSpeed < 0.0f && lastDown_ > 0.0f && down <= 0.0f) {
            figures.impactSpeed = fastestDown_;
            lowest_ = car.position[2];
        }
        fastestDown_ = std::max(fastestDown_, down);
        if (figures.impactSpeed >= 0.0f)
            figures.rebound = std::max(figures.rebound, lowest_ - car.position[2]);
        lastDown_ = down;
    }

    DropFigures figures;

  private:
    const Document& doc_;
    float lastDown_ = 0.0f;    ///< ft/s
    float fastestDown_ = 0.0f; ///< ft/s
    float lowest_ = 0.0f;      ///< down position at the impact (ft)
};

/// The new project's car dropped on its roof from 20 ft after `customize`.
template <typename Customize> DropFigures dropOnItsRoof(Customize customize) {
    test::DocumentRig rig;
    Document& doc = *rig.doc;
    doc.preferences().framePeriod = 1.0f / 60.0f;
    model::ObjectRecord& car = doc.object(0);
    car.initial.position[2] = -20.0f;
    car.initial.attitude[0] = 180.0f;
    customize(car);
    doc.resetSimulation();
    InputState input;
    DropWatch watch(doc);
    HeadlessLimits limits;
    limits.frames = 5 * 60;
    runHeadless(doc, watch, input, limits, rig.messages);
    return watch.figures;
}

TEST(CustomizeEffect, NoBounceKeepsTheDroppedCarLower) {
    const DropFigures base = dropOnItsRoof([](model::ObjectRecord&) {});
    const DropFigures dead = dropOnItsRoof([](model::ObjectRecord& car) {
        const CollisionForm shown = collisionFormFor(car, nullptr);
        ASSERT_EQ(shown.simulated.bounce, "80");
        CollisionForm edited = shown;
        edited.simulated.bounce = "0";
        ASSERT_FALSE(applyCollisionForm(shown, edited, car, nullptr));
    });
    for (const auto& [what, f] :
         {std::pair{"Bounce (%) 80", base}, std::pair{"Bounce (%) 0", dead}}) {
        std::printf(
            "car dropped on its roof from 20 ft, %-14s hits at %4.1f ft/s, rebounds %5.2f ft\n",
            what, static_cast<double>(f.impactSpeed), static_cast<double>(f.rebound));
    }
    ASSERT_GT(base.impactSpeed, 30.0f);
    ASSERT_GT(dead.impactSpeed, 30.0f);
    EXPECT_LT(dead.rebound, base.rebound * 0.6f);
}

} // namespace
} // namespace kv::app
