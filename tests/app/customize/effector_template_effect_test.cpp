// What the car's effector template dialog changes in a run: the default car
// of a new project is driven through the document's run loop (Simulation >
// Begin without a window) at walking pace with the stick held full right,
// once as it is and once after "Steering Lock (deg)" was widened in the
// template dialog's OK. The circle the car drives is measured as a person
// would: the widest span of its track over the laps.

#include "app/customize/effector_template_fit.h"
#include "app/customize/effector_template_form.h"
#include "app/document/headless_run.h"
#include "app/input/input_keys.h"
#include "support/document_ports.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <gtest/gtest.h>
#include <vector>

namespace kv::app {
namespace {

constexpr float kPace = 15.0f;   ///< ft/s held while circling
constexpr float kSettle = 10.0f; ///< s before the track is measured
constexpr float kEnd = 40.0f;    ///< s of the run

/// Full right lock with throttle to hold kPace; keeps the track after kSettle.
class FullLock final : public sim::ControlsPort {
  public:
    FullLock(const Document& doc, InputState& input) : doc_(doc), input_(input) {}

    void readControls(const sim::CameraRecord&, sim::ControlRecord& vehicle,
                      sim::ControlRecord& cameraControls) override {
        vehicle = sim::ControlRecord{};
        cameraControls = sim::ControlRecord{};
        const sim::SimObject& car = doc_.run().slots[0].sim;
        const float speed = std::hypot(car.earthVelocity[0], car.earthVelocity[1]);
        vehicle.stickX = 1.0f;
        vehicle.stickY = speed < kPace ? -0.3f : 0.0f;
        if (car.frameTime > kSettle)
            track.push_back({car.position[0], car.position[1]});
        if (car.frameTime > kEnd)
            input_.pendingKey = kKeyEscape;
    }

    std::vector<std::array<float, 2>> track; ///< north, east (ft)

  private:
    const Document& doc_;
    InputState& input_;
};

/// Widest span of the track (ft): the circle's diameter.
float diameter(const std::vector<std::array<float, 2>>& track) {
    float widest = 0.0f;
    for (std::size_t i = 0; i < track.size(); i += 3)
        for (std::size_t j = i + 1; j < track.size(); j += 3)
            widest =
                std::max(widest, std::hypot(track[i][0] - track[j][0], track[i][1] - track[j][1]));
    return widest;
}

float fullLockCircle(const char* steeringLock) {
    test::DocumentRig rig;
    Document& doc = *rig.doc;
    doc.preferences().framePeriod = 1.0f / 30.0f;
    model::ObjectRecord& car = doc.object(0);
    EXPECT_TRUE(effectorsFitTemplate(car));
    const TemplateForm shown = templateFormFor(car, doc.preferences().lengthUnitFactor);
    EXPECT_EQ(shown.values[kCarSteeringLock], "30.0000");
    std::vector<std::string> edited = shown.values;
    edited[kCarSteeringLock] = steeringLock;
    EXPECT_FALSE(
        applyTemplateForm(shown, edited, shown.gear, doc.preferences().lengthUnitFactor, car));
    doc.resetSimulation();
    InputState input;
    FullLock controls(doc, input);
    HeadlessLimits limits;
    limits.frames = static_cast<int>((kEnd + 5.0f) * 30.0f);
    const HeadlessResult result = runHeadless(doc, controls, input, limits, rig.messages);
    EXPECT_EQ(result.end, HeadlessEnd::Escape);
    return diameter(controls.track);
}

TEST(EffectorTemplateEffect, WiderSteeringLockDrivesASmallerCircle) {
    const float base = fullLockCircle("30.0000");
    const float wide = fullLockCircle("40");
    std::printf("car at %.0f ft/s, full right lock: Steering Lock (deg) 30 circles %.1f ft across, "
                "40 circles %.1f ft across\n",
                static_cast<double>(kPace), static_cast<double>(base), static_cast<double>(wide));
    ASSERT_GT(base, 10.0f);
    ASSERT_GT(wide, 5.0f);
    EXPECT_LT(wide, base * 0.9f);
}

} // namespace
} // namespace kv::app
