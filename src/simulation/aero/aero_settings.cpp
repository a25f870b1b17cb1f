#include "simulation/aero/aero_settings.h"

namespace kv::sim {

AeroSettings aeroSettingsFrom(const model::ObjectRecord& record) {
    const model::AeroData& a = record.aero;
    AeroSettings s;
    s.model = a.aeroModel;
    s.span = a.span;
    s.area = a.area;
    s.chord = a.aspectRatio > 0.0f ? a.span / a.aspectRatio : 0.0f;
    s.initialAoa = a.initialAoa;
    s.aileronLimit = a.aileronLimit;
    s.elevatorLimit = a.elevatorLimit;
    s.rudderLimit = a.rudderLimit;
    s.coefficients = a.coefficients;
    return s;
}

} // namespace kv::sim
