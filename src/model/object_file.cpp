#include "model/object_file.h"

#include "common/atomic_file.h"
#include "common/file_names.h"
#include "model/object_file_convert.h"
#include "model/object_model.h"

#include <memory>

namespace kv::model {
namespace {

struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};
using FileHandle = std::unique_ptr<std::FILE, FileCloser>;

} // namespace

FileVersion checkFileVersion(std::FILE* in, MessagePort& messages) {
    const long start = std::ftell(in);
    StreamReader reader(in);
    std::int32_t size = 0;
    const bool read = reader.i32(size);
    std::clearerr(in);
    if (start < 0 || std::fseek(in, start, SEEK_SET) != 0) {
        messages.showMessage(kMoreThanOneVersionOldMessage);
        return kVersionRefused;
    }
    if (read && size == kObjectRecordTag) {
        return kVersionCurrent;
    }
    if (read && size == kPreviousObjectRecordTag) {
        return kVersionPrevious;
    }
    messages.showMessage(kMoreThanOneVersionOldMessage);
    return kVersionRefused;
}

FileVersion checkFileVersion(const std::filesystem::path& file, MessagePort& messages) {
    FileHandle in(kv::openFile(file, "rb"));
    if (!in) {
        messages.showMessage(kNoValidFileMessage);
        return kVersionRefused;
    }
    return checkFileVersion(in.get(), messages);
}

bool saveObjectFile(const std::filesystem::path& file, const ObjectRecord& record,
                    const TriangleSource& geometry, MessagePort& messages) {
    const bool ok = writeFileAtomically(file, [&](std::FILE* out) {
        StreamWriter writer(out);
        return writeMotionBody(writer, record, geometry, {}) && writer.finish();
    });
    if (!ok) {
        messages.showMessage(saveFailedMessage(file));
    }
    return ok;
}

bool readObjectFile(std::FILE* in, const MotionTarget& target, bool keepInitialConditions,
                    MessagePort& messages) {
    StreamReader reader(in);
    std::int32_t size = 0;
    ObjectRecord record;
    if (!reader.i32(size) || size != kObjectRecordTag || !readObjectRecord(reader, record)) {
        messages.showMessage(kObjectOldVersionMessage);
        return false;
    }
    if (target.record != nullptr) {
        if (keepInitialConditions) {
            record.initial = target.record->initial;
        }
        *target.record = record;
    }
    MotionFrame marker{};
    if (!readGeometry(reader, target.geometry) || !reader.frame(marker)) {
        messages.showMessage(kObjectOldVersionMessage);
        return false;
    }
    return true;
}

bool loadObjectFile(const std::filesystem::path& file, const MotionTarget& target,
                    bool keepInitialConditions, MessagePort& messages) {
    if (!upgradeObjectFile(file, messages)) {
        return false;
    }
    FileHandle in(kv::openFile(file, "rb"));
    if (!in) {
        messages.showMessage(kNoValidFileMessage);
        return false;
    }
    if (!readObjectFile(in.get(), target, keepInitialConditions, messages)) {
        return false;
    }
    if (target.record != nullptr) {
        target.record->role = kRoleInteractive;
        setRecordName(target.record->name, utf8Name(file.stem()));
    }
    return true;
}

} // namespace kv::model
