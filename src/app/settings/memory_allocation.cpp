#include "app/settings/memory_allocation.h"

namespace kv::app {

bool SteppedMemory::allocate(const MemorySettings& settings) {
    for (const Step& step : steps_) {
        if (!step.allocate || !step.allocate(settings)) {
            release();
            return false;
        }
    }
    return true;
}

void SteppedMemory::release() {
    for (const Step& step : steps_) {
        if (step.release) {
            step.release();
        }
    }
}

bool allocateWithFallback(MemorySettings& settings, MemoryOwner& owner, bool startUp,
                          std::optional<std::int64_t> totalPhysical, MessagePort& messages) {
    if (startUp && totalPhysical && *totalPhysical < kMinimumPhysicalMemory) {
        messages.showMessage(kMinimumMemoryMessage);
        return false;
    }
    if (memorySettingsInRange(settings) && owner.allocate(settings)) {
        return true;
    }
    settings = kFactoryMemory;
    owner.release();
    if (owner.allocate(settings)) {
        messages.showMessage(kMemoryResetMessage);
        return true;
    }
    owner.release();
    messages.showMessage(kMinimumMemoryMessage);
    return false;
}

} // namespace kv::app
