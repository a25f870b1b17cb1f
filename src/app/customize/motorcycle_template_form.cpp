#include "app/customize/effector_frames.h"
#include "app/customize/effector_template_form.h"
#include "common/unit_constants.h"

#include <cmath>

namespace kv::app {

// Effectors 0 FrontForkPivot, 1 HandleBars, 2 FrontFork, 3 FrontTire,
// 4 RearPivot, 5 RearTire. The tires are placed in the object frame: OK turns
// their positions into the fork length and angle and the swing arm's length,
// angle and pitch scale.

TemplateForm motorcycleTemplateForm(const model::ObjectRecord& r) {
    const auto& e = r.effectors;
    const Vec3 front = effectorFrame(r, 3).position;
    const Vec3 rear = effectorFrame(r, 5).position;
    TemplateForm f;
    f.title = "Motorcycle Effector Template";
    addTemplateField(f, "Fork Pivot Forward", TemplateUnit::Length, e[0].offsets[0]);
    addTemplateField(f, "Fork Pivot Up", TemplateUnit::Length, -e[0].offsets[2]);
    addTemplateField(f, "Rear Pivot Back", TemplateUnit::Length, -e[4].offsets[0]);
    addTemplateField(f, "Rear Pivot Down", TemplateUnit::Length, e[4].offsets[2]);
    addTemplateField(f, "Front Tire Forward", TemplateUnit::Length, front[0]);
    addTemplateField(f, "Front Tire Down", TemplateUnit::Length, front[2]);
    addTemplateField(f, "Rear Tire Back", TemplateUnit::Length, -rear[0]);
    addTemplateField(f, "Rear Tire Down", TemplateUnit::Length, rear[2]);
    addTemplateField(f, "Steering Lock (deg)", TemplateUnit::Degrees, e[1].scales[5]);
    addTemplateField(f, "Fork Travel", TemplateUnit::Length, std::fabs(e[2].scales[2]));
    addTemplateField(f, "Front Tire Radius", TemplateUnit::Length, e[3].radius);
    addTemplateField(f, "Front Tire Width", TemplateUnit::Length, e[3].width);
    addTemplateField(f, "Rear Tire Radius", TemplateUnit::Length, e[5].radius);
    addTemplateField(f, "Rear Tire Width", TemplateUnit::Length, e[5].width);
    return f;
}

void writeMotorcycleTemplate(const std::vector<float>& v, model::ObjectRecord& r) {
    auto& e = r.effectors;
    const Vec3 forkPivot{v[kBikeForkPivotForward], 0.0f, -v[kBikeForkPivotUp]};
    const Vec3 rearPivot{-v[kBikeRearPivotBack], 0.0f, v[kBikeRearPivotDown]};
    e[0].offsets[0] = forkPivot[0];
    e[0].offsets[1] = forkPivot[1];
    e[0].offsets[2] = forkPivot[2];
    e[4].offsets[0] = rearPivot[0];
    e[4].offsets[1] = rearPivot[1];
    e[4].offsets[2] = rearPivot[2];
    const Vec3 frontTire{v[kBikeFrontTireForward], 0.0f, v[kBikeFrontTireDown]};
    const Vec3 rearTire{-v[kBikeRearTireBack], 0.0f, v[kBikeRearTireDown]};

    const Vec3 fork = VecSub(frontTire, forkPivot);
    e[2].offsets[2] = VecLength(fork);
    e[0].offsets[4] = std::atan2(fork[0], fork[2]) * kDegPerRad;

    const float travel = -std::fabs(v[kBikeForkTravel]); // ft, stored negative
    const Vec3 arm = VecSub(rearTire, rearPivot);
    const float armLength = VecLength(arm);
    e[5].offsets[0] = -armLength;
    e[4].offsets[4] = std::atan2(arm[2], -arm[0]) * kDegPerRad;
    e[4].scales[4] = armLength == 0.0f ? 0.0f : travel / armLength * kDegPerRad;

    e[1].scales[5] = v[kBikeSteeringLock];
    e[2].scales[2] = travel;
    e[3].radius = v[kBikeFrontRadius];
    e[3].width = v[kBikeFrontWidth];
    e[5].radius = v[kBikeRearRadius];
    e[5].width = v[kBikeRearWidth];
}

} // namespace kv::app
