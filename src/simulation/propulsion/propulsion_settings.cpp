#include "simulation/propulsion/propulsion_settings.h"

#include <algorithm>

namespace kv::sim {

float rotorChannelRate(int bladeCount, float framePeriod) {
    const float divisor = static_cast<float>(bladeCount) * framePeriod * 5.0f;
    if (!(divisor > 0.0f)) {
        return 0.0f;
    }
    return 37.69911184307748f / divisor;
}

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
    s.rotorChannelRate = rotorChannelRate(s.bladeCount, s.framePeriod);
    return s;
}

void setPropulsionRunValues(PropulsionSettings& settings, float dt, float framePeriod,
                            float gravity) {
    settings.dt = dt;
    settings.framePeriod = framePeriod;
    settings.gravity = gravity;
    settings.rotorChannelRate = rotorChannelRate(settings.bladeCount, framePeriod);
}

} // namespace kv::sim
