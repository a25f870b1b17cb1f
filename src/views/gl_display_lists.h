#pragma once
/// The display lists of the camera view: the OpenGL side of the core's list
/// bookkeeping, and the builders that compile geometry into lists. Every
/// builder expects the view's context to be current and a list opened by the
/// manager (or, for the fixed-name lists, opens its own).

#include "app/render/render_geometry.h"
#include "app/render/render_light.h"
#include "app/render/render_lists.h"
#include "common/ports/progress.h"

#include <vector>

namespace kv::geom {
class MeshStore;
class SceneryStore;
struct TerrainGrid;
} // namespace kv::geom

namespace kv::model {
struct ObjectRecord;
}

namespace kv::views {

/// glGenLists / glNewList / glDeleteLists for the core's list manager.
class GlListBackend final : public app::ListBackend {
  public:
    unsigned generateAndOpen() override;
    void deleteList(unsigned name) override;
};

/// Sets ambient, diffuse, specular, shininess and emission on both faces.
void applyMaterial(const app::Material& m);

// Bodies of the lists (issued into the list the caller has open).
void emitSky();
void emitStars();
void emitAxisCross();
void emitTireMarker();
void emitBladeMarker();
void emitSkidMarker();
/// Unlit grid lines at `positions` (scene units) across the half extent `size`.
void emitGrid(const std::vector<float>& positions, float size);
/// Unlit segments in eye coordinates, in the guide colour.
void emitSegments(const std::vector<app::Segment>& segments);
/// Terrain wire mesh in samples `stride` apart, lighting off in the list; the
/// progress display is opened with "Building Terrain:" and always runs to the end.
void emitTerrain(const geom::TerrainGrid& grid, int stride, ProgressPort& progress);
/// One scenery set: its material, then every triangle with its face normal.
void emitScenery(geom::SceneryStore& store, int set, const app::Material& material,
                 ProgressPort& progress);
/// An object's material and its triangles with one normal per corner; false
/// when the object has no geometry.
bool emitObject(geom::MeshStore& meshes, int slot, const app::Material& material);

/// Compiles the fixed-name lists once: digits 4000-4009, the separator 4010,
/// the pitch-ladder rungs 4011-4047 and the head-up symbols 3001-3003.
void compileHeadUpLists();

} // namespace kv::views
