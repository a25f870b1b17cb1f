#include "simulation/run_settings.h"

#include <algorithm>

namespace kv::sim {

float physicsStep(Accuracy accuracy) {
    switch (accuracy) {
    case Accuracy::Good:
        return 1.0f / 60.0f;
    case Accuracy::Better:
        return 1.0f / 120.0f;
    case Accuracy::Best:
        return 1.0f / 240.0f;
    }
    return 1.0f / 120.0f;
}

float framePeriodFor(int updateRate) {
    return 1.0f / static_cast<float>(std::max(1, updateRate));
}

int subStepsPerFrame(float framePeriod, float dt) {
    const float ratio = framePeriod / dt;
    return static_cast<int>(ratio + 0.5f);
}

RunSettings makeRunSettings(Accuracy accuracy, int updateRate, int recordCapacity) {
    RunSettings s;
    s.dt = physicsStep(accuracy);
    s.framePeriod = framePeriodFor(updateRate);
    s.recordCapacity = recordCapacity;
    return s;
}

} // namespace kv::sim
