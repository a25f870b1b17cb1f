#include "simulation/propulsion/propulsion_settings.h"

#include <algorithm>

namespace kv::sim {

PropulsionSettings propulsionSettingsFrom(const model::ObjectRecord& record) {
    PropulsionSettings s;
    s.nozzleLimit = record.nozzleLimit;
    s.aileronLimit = record.aero.aileronLimit;
    const int n = std::clamp(record.effectorCount, 0, model::kMaxEffectors);
    for (int i = 0; i < n; ++i) {
        if (record.effectors[static_cast<std::size_t>(i)].kind == model::kEffectorBlade) {
            ++s.bladeCount;
        }
    }
    return s;
}

void setPropulsionRunValues(PropulsionSettings& settings, float dt, float framePeriod,
                            float gravity) {
    settings.dt = dt;
    settings.framePeriod = framePeriod;
    settings.gravity = gravity;
}

} // namespace kv::sim
