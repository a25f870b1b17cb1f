#include "app/customize/effector_template_form.h"

#include <cmath>

namespace kv::app {

// Effectors 0 FrontLeftTire, 1 FrontRightTire, 2 RearLeftTire, 3 RearRightTire.

TemplateForm carTemplateForm(const model::ObjectRecord& r) {
    const auto& e = r.effectors;
    TemplateForm f;
    f.title = "Car Effector Template";
    addTemplateField(f, "Front Axle Forward", TemplateUnit::Length, e[0].offsets[0]);
    addTemplateField(f, "Rear Axle Back", TemplateUnit::Length, -e[2].offsets[0]);
    addTemplateField(f, "Track", TemplateUnit::Length, 2.0f * e[1].offsets[1]);
    addTemplateField(f, "Tire Radius", TemplateUnit::Length, e[0].radius);
    addTemplateField(f, "Tire Width", TemplateUnit::Length, e[0].width);
    addTemplateField(f, "Tire Height", TemplateUnit::Length, e[0].offsets[2]);
    addTemplateField(f, "Steering Lock (deg)", TemplateUnit::Degrees, e[0].scales[5]);
    addTemplateField(f, "Suspension Travel", TemplateUnit::Length, std::fabs(e[0].scales[2]));
    return f;
}

void writeCarTemplate(const std::vector<float>& v, model::ObjectRecord& r) {
    auto& e = r.effectors;
    e[0].offsets[0] = e[1].offsets[0] = v[kCarFrontAxle];
    e[2].offsets[0] = e[3].offsets[0] = -v[kCarRearAxle];
    const float half = v[kCarTrack] / 2.0f;
    e[0].offsets[1] = e[2].offsets[1] = -half;
    e[1].offsets[1] = e[3].offsets[1] = half;
    for (int i = 0; i < 4; ++i) {
        e[static_cast<std::size_t>(i)].radius = v[kCarTireRadius];
        e[static_cast<std::size_t>(i)].width = v[kCarTireWidth];
        e[static_cast<std::size_t>(i)].offsets[2] = v[kCarTireHeight];
        e[static_cast<std::size_t>(i)].scales[2] = -std::fabs(v[kCarSuspensionTravel]);
    }
    e[0].scales[5] = e[1].scales[5] = v[kCarSteeringLock];
}

} // namespace kv::app
