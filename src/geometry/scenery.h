#pragma once
/// The project's scenery sets: up to five sets of triangles, each kept in its
/// own working file ("scene0" .. "scene4", singles, metres).

#include "common/ports/messages.h"
#include "common/ports/progress.h"
#include "common/ports/working_folder.h"
#include "geometry/dxf_writer.h"
#include "geometry/scenery_set.h"
#include "geometry/working_files.h"

#include <array>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace kv::geom {

class SceneryStore {
  public:
    static constexpr int kMaxSets = 5;

    explicit SceneryStore(const WorkingFolderPort& folder);

    int count() const { return static_cast<int>(sets_.size()); }
    bool full() const { return count() >= kMaxSets; }
    const SceneSetInfo& set(int index) const { return sets_[static_cast<std::size_t>(index)]; }
    /// Colour and transparency codes of a set.
    void setAppearance(int index, std::int32_t color, std::int32_t transparency);
    /// Path of set `index`'s working file.
    std::filesystem::path workingFile(int index) const;

    // Import of a new set, in three steps so that any face source can feed it.
    /// Starts the next set's working file and the progress display "Reading
    /// Scenery Polygons:". False when five sets exist or the file cannot be made.
    bool beginImport(const model::GeometryTransform& transform, std::int32_t color,
                     std::int32_t transparency, std::string baseName, ProgressPort& progress,
                     MessagePort& messages);
    /// The face callback: converts one face to single precision, splits it and
    /// appends its triangles. Returns 1 to go on, 0 on abort or a write error.
    int intakeFace(const std::array<double, 12>& corners, float fraction, ProgressPort& progress,
                   MessagePort& messages);
    /// Ends the import; on success the set count grows by one. A failed read
    /// or file discards the partial set.
    bool finishImport(bool readSucceeded, ProgressPort& progress, MessagePort& messages);
    /// Imports `dxf` as a new set (refused when five sets exist).
    bool addScenery(const std::filesystem::path& dxf, const model::GeometryTransform& transform,
                    std::int32_t color, std::int32_t transparency, ProgressPort& progress,
                    MessagePort& messages);

    /// Removes set `index`; later sets and their working files move down.
    bool removeScenery(int index, MessagePort& messages);
    /// Removes every set and its working file (new project).
    void clear();

    /// Carries set `index`'s points from its transform to `transform` through
    /// a "Temp" file that then replaces the working file.
    bool retransformScenery(int index, const model::GeometryTransform& transform,
                            MessagePort& messages);

    /// Writes set `index` to `target` through the DXF writer.
    bool exportScenery(int index, const std::filesystem::path& target, const DxfOutputUnits& units,
                       MessagePort& messages) const;

    // Project file streams.
    /// Copies set `index`'s stream, end marker included, to `out`.
    bool writeStream(int index, std::FILE* out, MessagePort& messages) const;
    /// Appends a set read from the stream at `in` (at most `info.triangleCount`
    /// triangles) with `info` as its document data.
    bool readStream(std::FILE* in, const SceneSetInfo& info, MessagePort& messages);

    /// Sequential reader of set `index`'s working file, for building drawing
    /// data: opens it on first use and gives one triangle (metres) per call
    /// with the set's triangle count; at the end marker it closes the file and
    /// returns End. Asking for another set starts that set from its beginning.
    StreamRead readSceneryTriangle(int index, Triangle<float>& out, std::int32_t& count);

  private:
    std::filesystem::path folder_;
    std::vector<SceneSetInfo> sets_;
    SceneSetInfo pending_;
    std::unique_ptr<SceneryStreamWriter> intake_;
    std::unique_ptr<SceneryStreamReader> reader_;
    int readerSet_ = -1;
};

} // namespace kv::geom
