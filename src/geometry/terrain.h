#pragma once
/// The project's terrain: its working file of triangles (doubles, metres), the
/// height grid sorted from it (feet) and the ground queries.

#include "common/ports/messages.h"
#include "common/ports/progress.h"
#include "common/ports/working_folder.h"
#include "geometry/dxf_writer.h"
#include "geometry/scenery_set.h"
#include "geometry/terrain_grid.h"
#include "geometry/terrain_query.h"
#include "geometry/terrain_sort.h"
#include "geometry/working_files.h"

#include <array>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>

namespace kv::geom {

class TerrainStore {
  public:
    /// `resolution` is the grid's lines per axis from the memory settings.
    TerrainStore(const WorkingFolderPort& folder, int resolution);

    /// Path of the "terrain" working file.
    std::filesystem::path workingFile() const;
    bool present() const { return present_; }
    const SceneSetInfo& info() const { return info_; }
    int resolution() const { return resolution_; }
    const TerrainGrid& grid() const { return grid_; }

    /// The grid ground queries use, or null when there is no terrain or no
    /// grid could be had (queries then answer as for flat ground at 0).
    const TerrainGrid* ground() const { return present_ && sorted_ ? &grid_ : nullptr; }

    /// (Re)allocates the grid for the current resolution; false when the
    /// memory cannot be had (the terrain then gives no heights).
    bool allocateTerrainGrid();
    /// Builds the grid from the working file. An aborted sort leaves no heights.
    SortResult sortTerrain(ProgressPort& progress, MessagePort& messages);
    /// Sets the resolution; a present terrain is re-sorted at the new size and
    /// discarded when that is aborted. False when the terrain was discarded.
    bool changeResolution(int resolution, ProgressPort& progress, MessagePort& messages);

    // Import, in three steps so that any face source can feed it.
    /// Replaces the terrain: starts an empty working file and the progress
    /// display "Reading Terrain Polygons:". False (with a message) when the
    /// working file cannot be created.
    bool beginImport(const model::GeometryTransform& transform, std::string baseName,
                     ProgressPort& progress, MessagePort& messages);
    /// The face callback: splits one face (four corners, metres, system axes)
    /// and appends its triangles. Returns 1 to go on, 0 when the user aborted
    /// or the working file failed.
    int intakeFace(const std::array<double, 12>& corners, float fraction, ProgressPort& progress,
                   MessagePort& messages);
    /// Ends the import: writes the end marker, allocates the grid and sorts
    /// it. When the reading failed (`readSucceeded` false), the file failed or
    /// the sort was aborted, the terrain is discarded and false returned.
    bool finishImport(bool readSucceeded, ProgressPort& progress, MessagePort& messages);
    /// Imports `dxf` through `transform`: the three steps around the DXF reader.
    bool importTerrain(const std::filesystem::path& dxf, const model::GeometryTransform& transform,
                       ProgressPort& progress, MessagePort& messages);

    /// Forgets the terrain: no heights, the flag cleared, the transform reset,
    /// the working file deleted.
    void discardTerrain();

    /// Carries every stored point from the current transform to `transform`
    /// through "terrainTemp" ("Transforming Terrain Polygons:"), then
    /// re-sorts. An aborted pass keeps the old file and transform; an aborted
    /// sort discards the terrain. False on abort or failure.
    bool retransformTerrain(const model::GeometryTransform& transform, ProgressPort& progress,
                            MessagePort& messages);

    /// Writes the triangles to `target` through the DXF writer ("Writing
    /// Terrain Polygons:"); an aborted export leaves no new file.
    bool exportTerrain(const std::filesystem::path& target, const DxfOutputUnits& units,
                       ProgressPort& progress, MessagePort& messages) const;

    // Project file streams.
    /// Copies the working-file stream, end marker included, to `out`.
    bool writeStream(std::FILE* out, MessagePort& messages) const;
    /// Replaces the terrain by the stream at `in` (at most `info.triangleCount`
    /// triangles), keeping `info` as its document data. The grid is not
    /// sorted: call `allocateTerrainGrid` and `sortTerrain` next.
    bool readStream(std::FILE* in, const SceneSetInfo& info, MessagePort& messages);

    /// Sequential reader of the working file, for building drawing data: opens
    /// the file on first use and gives one triangle (metres) per call with the
    /// triangle count; at the end marker it closes the file and returns End,
    /// and the next call starts again from the first triangle. Error when the
    /// file is missing or cut short (the file is then closed too).
    StreamRead readTerrainTriangle(Triangle<double>& out, std::int32_t& count);

    /// Ground height (ft) at (x, y) ft with the store's own cursor.
    double terrainHeight(bool reset, double x, double y);
    /// Height and unit normal with the store's own cursor.
    GroundSample terrainHeightAndNormal(bool reset, double x, double y);

  private:
    std::filesystem::path folder_;
    int resolution_;
    bool present_ = false;
    bool sorted_ = false;
    SceneSetInfo info_;
    TerrainGrid grid_;
    TerrainCursor cursor_;
    std::unique_ptr<TerrainStreamWriter> intake_;
    std::unique_ptr<TerrainStreamReader> reader_;
};

} // namespace kv::geom
