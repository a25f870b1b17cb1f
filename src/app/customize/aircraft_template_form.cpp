#include "app/customize/effector_template_form.h"

#include <cmath>

namespace kv::app {

// Effectors 0 NosePivot, 1 NoseWheel, 2 LeftMainPivot, 3 LeftMainTire,
// 4 RightMainPivot, 5 RightMainTire.

TemplateForm aircraftTemplateForm(const model::ObjectRecord& r) {
    const auto& e = r.effectors;
    TemplateForm f;
    f.title = "Aircraft Effector Template";
    addTemplateField(f, "Nose Gear Forward", TemplateUnit::Length, e[0].offsets[0]);
    addTemplateField(f, "Main Gear Back", TemplateUnit::Length, -e[2].offsets[0]);
    addTemplateField(f, "Main Gear Track", TemplateUnit::Length, 2.0f * e[2].offsets[1]);
    addTemplateField(f, "Gear Height", TemplateUnit::Length, e[1].offsets[2] + e[0].offsets[2]);
    addTemplateField(f, "Wheel Radius", TemplateUnit::Length, e[1].radius);
    addTemplateField(f, "Wheel Width", TemplateUnit::Length, e[1].width);
    addTemplateField(f, "Strut Travel", TemplateUnit::Length, std::fabs(e[1].scales[2]));
    addTemplateField(f, "Nose-Wheel Steering (deg)", TemplateUnit::Degrees, e[1].scales[5]);
    return f;
}

void writeAircraftTemplate(const std::vector<float>& v, model::ObjectRecord& r) {
    auto& e = r.effectors;
    e[0].offsets[0] = v[kPlaneNoseGearForward];
    e[2].offsets[0] = e[4].offsets[0] = -v[kPlaneMainGearBack];
    e[2].offsets[1] = v[kPlaneMainGearTrack] / 2.0f;
    e[4].offsets[1] = -v[kPlaneMainGearTrack] / 2.0f;
    for (std::size_t pivot : {0u, 2u, 4u}) {
        auto& wheel = e[pivot + 1];
        wheel.offsets[2] = v[kPlaneGearHeight] - e[pivot].offsets[2];
        wheel.radius = v[kPlaneWheelRadius];
        wheel.width = v[kPlaneWheelWidth];
        wheel.scales[2] = -std::fabs(v[kPlaneStrutTravel]);
    }
    e[1].scales[5] = v[kPlaneNoseSteering];
}

} // namespace kv::app
