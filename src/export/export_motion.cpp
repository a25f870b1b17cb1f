#include "export/export_motion.h"

#include "model/motion_playback.h"
#include "model/object_model.h"

#include <climits>
#include <cmath>
#include <utility>

namespace kv::exp {

int exportFrameCount(float length) {
    const double frames = static_cast<double>(length * static_cast<float>(kExportFrameRate));
    if (!(frames > 0.0)) {
        return 0;
    }
    if (frames >= static_cast<double>(INT_MAX)) {
        return INT_MAX;
    }
    return static_cast<int>(frames);
}

ExportMotion::ExportMotion(const std::filesystem::path& file, const ExportSlot& slot,
                           MessagePort& messages)
    : slot_(slot), messages_(messages) {
    if (slot_.store == nullptr || slot_.camera.record == nullptr) {
        return;
    }
    bool reportErrors = true;
    ok_ = model::loadMotion(file, slot_.camera, *slot_.store, reportErrors, messages_);
}

ExportMotion::~ExportMotion() {
    if (slot_.camera.record != nullptr) {
        model::resetCamera(*slot_.camera.record);
    }
    if (slot_.camera.geometry.clear) {
        slot_.camera.geometry.clear();
    }
    if (slot_.store != nullptr && slot_.store->validSlot(slot_.camera.slot)) {
        slot_.store->clearSlot(slot_.camera.slot);
    }
}

float ExportMotion::length() const {
    return model::motionLength(*slot_.store, slot_.camera.slot);
}

model::MotionFrame ExportMotion::sample(int m) {
    model::MotionFrame frame{};
    const model::MotionStore& store = std::as_const(*slot_.store);
    const int slot = slot_.camera.slot;
    if (store.lastFrame(slot) < 1) {
        // A single frame has nothing to interpolate between; it stands for the
        // whole motion rather than raising the interpolation's internal error
        // once for every exported frame.
        if (store.lastFrame(slot) == 0) {
            frame = store.frames(slot)[0];
        }
        return frame;
    }
    model::interpolateMotion(*slot_.store, slot, model::kFrameFieldCount, exportSampleTime(m),
                             kExportFramePeriod, frame, messages_);
    return frame;
}

} // namespace kv::exp
