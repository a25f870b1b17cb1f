#include "geometry/scenery.h"

#include "common/file_names.h"
#include "geometry/working_files_intake.h"
#include "geometry/working_files_transform.h"

#include <algorithm>
#include <limits>
#include <system_error>

namespace kv::geom {
namespace {

constexpr std::string_view kCannotWrite = "The scenery working file could not be written.";
constexpr std::string_view kCannotRead = "The scenery working file could not be read.";
constexpr std::string_view kTooMany = "The scenery contains too many polygons.";

} // namespace

SceneryStore::SceneryStore(const WorkingFolderPort& folder) : folder_(folder.folder()) {}

std::filesystem::path SceneryStore::workingFile(int index) const {
    return folder_ / sceneryFileName(index);
}

void SceneryStore::setAppearance(int index, std::int32_t color, std::int32_t transparency) {
    auto& s = sets_[static_cast<std::size_t>(index)];
    s.color = color;
    s.transparency = transparency;
}

bool SceneryStore::beginImport(const model::GeometryTransform& transform, std::int32_t color,
                               std::int32_t transparency, std::string baseName,
                               ProgressPort& progress, MessagePort& messages) {
    if (full())
        return false;
    intake_ = std::make_unique<SceneryStreamWriter>(workingFile(count()));
    if (!intake_->isOpen()) {
        intake_.reset();
        messages.showMessage(kCannotWrite);
        return false;
    }
    pending_ = SceneSetInfo{};
    pending_.transform = transform;
    pending_.color = color;
    pending_.transparency = transparency;
    pending_.baseName = std::move(baseName);
    progress.start("Reading Scenery Polygons:");
    return true;
}

int SceneryStore::intakeFace(const std::array<double, 12>& corners, float fraction,
                             ProgressPort& progress, MessagePort& messages) {
    if (!intake_)
        return 0;
    return takeImportedFace<float>(*intake_, corners, fraction, progress, messages,
                                   {kTooMany, kCannotWrite});
}

bool SceneryStore::finishImport(bool readSucceeded, ProgressPort& progress, MessagePort& messages) {
    if (!intake_)
        return false;
    const auto made =
        finishImportedStream(intake_, readSucceeded, progress, messages, kCannotWrite);
    if (!made) {
        std::error_code ec;
        std::filesystem::remove(workingFile(count()), ec);
        return false;
    }
    pending_.triangleCount = static_cast<std::int32_t>(*made);
    sets_.push_back(pending_);
    return true;
}

bool SceneryStore::removeScenery(int index, MessagePort& messages) {
    if (index < 0 || index >= count())
        return false;
    std::error_code ec;
    std::filesystem::remove(workingFile(index), ec);
    for (int k = index + 1; k < count(); ++k) {
        std::filesystem::rename(workingFile(k), workingFile(k - 1), ec);
        if (ec) {
            // Sets and files would no longer match: drop every set from here on.
            messages.showMessage(kCannotWrite);
            for (int m = index; m < count(); ++m)
                std::filesystem::remove(workingFile(m), ec);
            sets_.resize(static_cast<std::size_t>(index));
            return false;
        }
    }
    sets_.erase(sets_.begin() + index);
    return true;
}

void SceneryStore::clear() {
    intake_.reset();
    reader_.reset();
    std::error_code ec;
    for (int k = 0; k < kMaxSets; ++k)
        std::filesystem::remove(workingFile(k), ec);
    sets_.clear();
}

bool SceneryStore::retransformScenery(int index, const model::GeometryTransform& transform,
                                      MessagePort& messages) {
    if (index < 0 || index >= count())
        return false;
    reader_.reset();
    SceneSetInfo& s = sets_[static_cast<std::size_t>(index)];
    const DxfImportMapping from = makeDxfImportMapping(s.transform);
    const DxfImportMapping to = makeDxfImportMapping(transform);
    const std::filesystem::path file = workingFile(index);
    const std::filesystem::path temp = folder_ / tempFileName(sceneryFileName(index));
    bool ok = true;
    std::int64_t made = 0;
    {
        SceneryStreamReader reader(file);
        SceneryStreamWriter writer(temp);
        if (!writer.isOpen()) {
            messages.showMessage(kCannotWrite);
            return false;
        }
        Triangle<float> tri;
        for (;;) {
            const StreamRead r = reader.next(tri);
            if (r == StreamRead::End)
                break;
            if (r == StreamRead::Error) {
                messages.showMessage(kCannotRead);
                ok = false;
                break;
            }
            for (auto& corner : tri) {
                const auto p = remapStoredPoint(from, to, {corner[0], corner[1], corner[2]});
                corner = {static_cast<float>(p[0]), static_cast<float>(p[1]),
                          static_cast<float>(p[2])};
            }
            if (!writer.write(tri)) {
                messages.showMessage(kCannotWrite);
                ok = false;
                break;
            }
        }
        if (ok && !(writer.writeEnd() && writer.close())) {
            messages.showMessage(kCannotWrite);
            ok = false;
        }
        made = writer.triangleCount();
    }
    std::error_code ec;
    if (ok) {
        std::filesystem::rename(temp, file, ec);
        if (ec) {
            messages.showMessage(kCannotWrite);
            ok = false;
        }
    }
    if (!ok) {
        std::filesystem::remove(temp, ec);
        return false;
    }
    s.transform = transform;
    s.triangleCount = static_cast<std::int32_t>(made);
    return true;
}

bool SceneryStore::writeStream(int index, std::FILE* out, MessagePort& messages) const {
    if (index < 0 || index >= count())
        return false;
    FileHandle in(kv::openFile(workingFile(index), "rb"));
    if (!in || copySceneryStream(in.get(), out, set(index).triangleCount) < 0) {
        messages.showMessage(kCannotRead);
        return false;
    }
    return true;
}

bool SceneryStore::readStream(std::FILE* in, const SceneSetInfo& info, MessagePort& messages) {
    if (full())
        return false;
    const std::filesystem::path file = workingFile(count());
    FileHandle out(kv::openFile(file, "wb+"));
    if (!out) {
        messages.showMessage(kCannotWrite);
        return false;
    }
    const std::int64_t made = copySceneryStream(in, out.get(), std::max(0, info.triangleCount));
    const bool closed = std::fclose(out.release()) == 0;
    if (made < 0 || !closed) {
        std::error_code ec;
        std::filesystem::remove(file, ec);
        messages.showMessage(kCannotRead);
        return false;
    }
    sets_.push_back(info);
    sets_.back().triangleCount = static_cast<std::int32_t>(made);
    return true;
}

} // namespace kv::geom

namespace kv::geom {

StreamRead SceneryStore::readSceneryTriangle(int index, Triangle<float>& out, std::int32_t& count) {
    count = 0;
    if (index < 0 || index >= this->count())
        return StreamRead::Error;
    count = set(index).triangleCount;
    if (!reader_ || readerSet_ != index) {
        reader_ = std::make_unique<SceneryStreamReader>(workingFile(index));
        readerSet_ = index;
    }
    const StreamRead r = reader_->next(out);
    if (r != StreamRead::Triangle) {
        reader_.reset();
        readerSet_ = -1;
    }
    return r;
}

} // namespace kv::geom
