#include "app/render/scene_objects.h"

#include "app/settings/units.h"
#include "model/motion_playback.h"

#include <cstddef>

namespace kv::app {

model::MotionFrame sceneFrameOf(Document& document, const sim::RunState& run, int objectIndex,
                                float time, int fieldCount, MessagePort& messages) {
    for (int s = 0; s < run.slotCount && s < sim::kMaxSlots; ++s) {
        const sim::Slot& slot = run.slots[static_cast<std::size_t>(s)];
        if (slot.objectIndex == objectIndex)
            return slot.frame;
    }
    model::MotionFrame f{};
    model::MotionStore& motions = document.motions();
    if (motions.validSlot(objectIndex) && motions.lastFrame(objectIndex) >= 1) {
        model::interpolateMotion(motions, objectIndex, fieldCount, time,
                                 document.preferences().framePeriod, f, messages);
        f[model::kFrameTime] = time;
        return f;
    }
    const model::ObjectRecord& r = document.object(objectIndex);
    for (std::size_t i = 0; i < 3; ++i) {
        f[static_cast<std::size_t>(model::kFrameNorth) + i] =
            r.initial.position[i] * kMetresPerFoot;
        f[static_cast<std::size_t>(model::kFrameRoll) + i] = r.initial.attitude[i];
    }
    return f;
}

} // namespace kv::app
