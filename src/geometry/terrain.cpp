#include "geometry/terrain.h"

#include "common/file_names.h"
#include "geometry/working_files_intake.h"
#include "geometry/working_files_transform.h"

#include <algorithm>
#include <limits>
#include <system_error>

namespace kv::geom {
namespace {

constexpr std::string_view kCannotWrite = "The terrain working file could not be written.";
constexpr std::string_view kCannotRead = "The terrain working file could not be read.";
constexpr std::string_view kTooMany = "The terrain contains too many polygons.";

/// Triangle counts are stored as 32-bit integers.

} // namespace

TerrainStore::TerrainStore(const WorkingFolderPort& folder, int resolution)
    : folder_(folder.folder()), resolution_(resolution) {}

std::filesystem::path TerrainStore::workingFile() const {
    return folder_ / kTerrainFileName;
}

bool TerrainStore::allocateTerrainGrid() {
    sorted_ = false;
    cursor_ = {};
    return geom::allocateTerrainGrid(grid_, resolution_);
}

SortResult TerrainStore::sortTerrain(ProgressPort& progress, MessagePort& messages) {
    sorted_ = false;
    if (!grid_.allocated())
        return SortResult::Sorted;
    const SortResult r =
        geom::sortTerrain(grid_, workingFile(), info_.triangleCount, progress, messages);
    sorted_ = r == SortResult::Sorted;
    cursor_ = {};
    return r;
}

bool TerrainStore::changeResolution(int resolution, ProgressPort& progress, MessagePort& messages) {
    resolution_ = resolution;
    allocateTerrainGrid();
    if (!present_)
        return true;
    if (sortTerrain(progress, messages) != SortResult::Sorted) {
        discardTerrain();
        return false;
    }
    return true;
}

bool TerrainStore::beginImport(const model::GeometryTransform& transform, std::string baseName,
                               ProgressPort& progress, MessagePort& messages) {
    discardTerrain();
    intake_ = std::make_unique<TerrainStreamWriter>(workingFile());
    if (!intake_->isOpen()) {
        intake_.reset();
        messages.showMessage(kCannotWrite);
        return false;
    }
    info_.transform = transform;
    info_.baseName = std::move(baseName);
    progress.start("Reading Terrain Polygons:");
    return true;
}

int TerrainStore::intakeFace(const std::array<double, 12>& corners, float fraction,
                             ProgressPort& progress, MessagePort& messages) {
    if (!intake_)
        return 0;
    return takeImportedFace<double>(*intake_, corners, fraction, progress, messages,
                                    {kTooMany, kCannotWrite});
}

bool TerrainStore::finishImport(bool readSucceeded, ProgressPort& progress, MessagePort& messages) {
    if (!intake_)
        return false;
    const auto made =
        finishImportedStream(intake_, readSucceeded, progress, messages, kCannotWrite);
    if (!made) {
        discardTerrain();
        return false;
    }
    info_.triangleCount = static_cast<std::int32_t>(*made);
    present_ = true;
    // A grid that cannot be had leaves the terrain without heights; the
    // import itself still stands.
    if (!allocateTerrainGrid())
        return true;
    if (sortTerrain(progress, messages) != SortResult::Sorted) {
        discardTerrain();
        return false;
    }
    return true;
}

void TerrainStore::discardTerrain() {
    intake_.reset();
    reader_.reset();
    present_ = false;
    sorted_ = false;
    info_ = SceneSetInfo{};
    cursor_ = {};
    std::error_code ec;
    std::filesystem::remove(workingFile(), ec);
}

bool TerrainStore::retransformTerrain(const model::GeometryTransform& transform,
                                      ProgressPort& progress, MessagePort& messages) {
    if (!present_) {
        info_.transform = transform;
        return true;
    }
    reader_.reset();
    const DxfImportMapping from = makeDxfImportMapping(info_.transform);
    const DxfImportMapping to = makeDxfImportMapping(transform);
    const std::filesystem::path tempPath = folder_ / tempFileName(kTerrainFileName);
    std::error_code ec;
    bool ok = true;
    std::int64_t count = 0;
    {
        TerrainStreamReader reader(workingFile());
        TerrainStreamWriter writer(tempPath);
        if (!writer.isOpen()) {
            messages.showMessage(kCannotWrite);
            return false;
        }
        progress.start("Transforming Terrain Polygons:");
        const double points = 3.0 * std::max<double>(1.0, info_.triangleCount);
        double done = 0.0;
        Triangle<double> tri;
        for (;;) {
            const StreamRead r = reader.next(tri);
            if (r == StreamRead::End)
                break;
            if (r == StreamRead::Error) {
                messages.showMessage(kCannotRead);
                ok = false;
                break;
            }
            for (auto& corner : tri)
                corner = remapStoredPoint(from, to, corner);
            if (!writer.write(tri)) {
                messages.showMessage(kCannotWrite);
                ok = false;
                break;
            }
            done += 3.0;
            if (!progress.update(std::min(1.0, done / points))) {
                ok = false;
                break;
            }
        }
        progress.finish();
        if (ok && !(writer.writeEnd() && writer.close())) {
            messages.showMessage(kCannotWrite);
            ok = false;
        }
        count = writer.triangleCount();
    }
    if (ok) {
        std::filesystem::rename(tempPath, workingFile(), ec);
        if (ec) {
            messages.showMessage(kCannotWrite);
            ok = false;
        }
    }
    if (!ok) {
        std::filesystem::remove(tempPath, ec);
        return false;
    }
    info_.transform = transform;
    info_.triangleCount = static_cast<std::int32_t>(count);
    if (!grid_.allocated())
        return true;
    if (sortTerrain(progress, messages) != SortResult::Sorted) {
        discardTerrain();
        return false;
    }
    return true;
}

bool TerrainStore::writeStream(std::FILE* out, MessagePort& messages) const {
    FileHandle in(kv::openFile(workingFile(), "rb"));
    if (!in || copyTerrainStream(in.get(), out, info_.triangleCount) < 0) {
        messages.showMessage(kCannotRead);
        return false;
    }
    return true;
}

bool TerrainStore::readStream(std::FILE* in, const SceneSetInfo& info, MessagePort& messages) {
    discardTerrain();
    FileHandle out(kv::openFile(workingFile(), "wb+"));
    if (!out) {
        messages.showMessage(kCannotWrite);
        return false;
    }
    const std::int64_t count = copyTerrainStream(in, out.get(), std::max(0, info.triangleCount));
    const bool closed = std::fclose(out.release()) == 0;
    if (count < 0 || !closed) {
        discardTerrain();
        messages.showMessage(kCannotRead);
        return false;
    }
    info_ = info;
    info_.triangleCount = static_cast<std::int32_t>(count);
    present_ = true;
    return true;
}

StreamRead TerrainStore::readTerrainTriangle(Triangle<double>& out, std::int32_t& count) {
    count = info_.triangleCount;
    if (!reader_)
        reader_ = std::make_unique<TerrainStreamReader>(workingFile());
    const StreamRead r = reader_->next(out);
    if (r != StreamRead::Triangle)
        reader_.reset();
    return r;
}

double TerrainStore::terrainHeight(bool reset, double x, double y) {
    return geom::terrainHeight(ground(), cursor_, reset, x, y);
}

GroundSample TerrainStore::terrainHeightAndNormal(bool reset, double x, double y) {
    return geom::terrainHeightAndNormal(ground(), cursor_, reset, x, y);
}

} // namespace kv::geom
