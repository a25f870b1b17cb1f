#include "model/motion_file.h"

#include "common/atomic_file.h"
#include "common/file_names.h"

#include <memory>

namespace kv::model {
namespace {

constexpr const char* kMotionOldVersion =
    "The file cannot be read because it was created by an old version of Kestrovane.";
constexpr const char* kMotionNoMemory =
    "There is not enough memory to load the motion file. Try increasing the record duration.";
constexpr const char* kMotionNoData =
    "The motion file could not be loaded because it contains no motion data.";

std::string overflowMessage(int maxFrames) {
    return "The entire motion file could not be loaded because it has more than " +
           std::to_string(maxFrames) + " frames. Try increasing the record duration.";
}

struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};

bool saveBody(const std::filesystem::path& file, const ObjectRecord& record,
              const TriangleSource& geometry, std::span<const MotionFrame> frames,
              MessagePort& messages) {
    const bool ok = writeFileAtomically(file, [&](std::FILE* out) {
        StreamWriter writer(out);
        return writeMotionBody(writer, record, geometry, frames) && writer.finish();
    });
    if (!ok) {
        messages.showMessage(saveFailedMessage(file));
    }
    return ok;
}

} // namespace

void reportOnce(bool& reportErrors, MessagePort& messages, const std::string& text) {
    if (reportErrors) {
        messages.showMessage(text);
        reportErrors = false;
    }
}

std::string saveFailedMessage(const std::filesystem::path& file) {
    return "\"" + utf8Name(file.filename()) + "\" could not be saved.";
}

bool saveLiveMotion(const std::filesystem::path& file, const ObjectRecord& owner,
                    const TriangleSource& geometry, std::span<const MotionFrame> frames,
                    MessagePort& messages) {
    return saveBody(file, owner, geometry, frames, messages);
}

bool saveStoredMotion(const std::filesystem::path& file, const ObjectRecord& record,
                      const TriangleSource& geometry, const MotionStore& store, int slot,
                      MessagePort& messages) {
    std::span<const MotionFrame> frames;
    if (store.validSlot(slot) && store.lastFrame(slot) >= 0) {
        const auto n = static_cast<std::size_t>(store.lastFrame(slot)) + 1;
        frames = store.frames(slot).first(std::min(n, store.frames(slot).size()));
    }
    return saveBody(file, record, geometry, frames, messages);
}

bool readMotion(std::FILE* in, const MotionTarget& target, MotionStore& store, bool& reportErrors,
                MessagePort& messages) {
    StreamReader reader(in);
    std::int32_t size = 0;
    ObjectRecord record;
    if (!reader.i32(size) || size != kObjectRecordTag || !readObjectRecord(reader, record)) {
        reportOnce(reportErrors, messages, kMotionOldVersion);
        return false;
    }
    if (target.record != nullptr) {
        *target.record = record;
    }
    if (!readGeometry(reader, target.geometry)) {
        reportOnce(reportErrors, messages, kMotionOldVersion);
        return false;
    }

    const bool haveSlot = store.validSlot(target.slot);
    const int maxFrames = haveSlot ? store.maxFrames() : 0;
    std::span<MotionFrame> places = haveSlot ? store.frames(target.slot) : std::span<MotionFrame>{};
    MotionFrame scratch{};
    int read = 0;
    bool overflow = false;
    for (;;) {
        MotionFrame& f =
            read < maxFrames ? places[static_cast<std::size_t>(read)] : (overflow = true, scratch);
        if (!reader.frame(f)) {
            reportOnce(reportErrors, messages, kMotionOldVersion);
            return false;
        }
        ++read;
        if (isEndMarkerTime(f[kFrameTime])) {
            break;
        }
    }
    if (haveSlot) {
        store.setCursor(target.slot, 0);
    }

    if (overflow) {
        if (maxFrames > 2) {
            store.setLastFrame(target.slot, maxFrames - 2);
            reportOnce(reportErrors, messages, overflowMessage(maxFrames));
            return true;
        }
        if (haveSlot) {
            store.setLastFrame(target.slot, -1);
        }
        reportOnce(reportErrors, messages, kMotionNoMemory);
        return false;
    }
    store.setLastFrame(target.slot, read - 2);
    if (read > 1 || target.slot == 0 || record.role == kRoleStatic) {
        return true;
    }
    reportOnce(reportErrors, messages, kMotionNoData);
    return false;
}

bool loadMotion(const std::filesystem::path& file, const MotionTarget& target, MotionStore& store,
                bool& reportErrors, MessagePort& messages) {
    std::unique_ptr<std::FILE, FileCloser> in(kv::openFile(file, "rb"));
    if (!in) {
        reportOnce(reportErrors, messages, kNoValidFileMessage);
        return false;
    }
    return readMotion(in.get(), target, store, reportErrors, messages);
}

} // namespace kv::model
