// Feeds arbitrary bytes to the project version test and the project reader,
// then sorts whatever terrain was read. The reader takes a path, so each input
// goes to a file in a private working folder first.

#include "app/preferences.h"
#include "app/project_file.h"
#include "common/ports/messages.h"
#include "common/ports/progress.h"
#include "geometry/mesh_store.h"
#include "geometry/scenery.h"
#include "geometry/terrain.h"
#include "geometry/working_files.h"
#include "model/motion_store.h"

#include <cstdint>
#include <cstdio>
#include <memory>
#include <vector>

namespace {

struct Rig {
    kv::NullMessages messages;
    kv::NullProgress progress;
    std::unique_ptr<kv::geom::PrivateWorkingFolder> folder =
        kv::geom::PrivateWorkingFolder::create();
    kv::geom::MeshStore meshes{messages};
    kv::model::MotionStore motions;
    std::unique_ptr<kv::geom::SceneryStore> scenery;
    std::unique_ptr<kv::geom::TerrainStore> terrain;
    std::vector<kv::model::ObjectRecord> objects = std::vector<kv::model::ObjectRecord>(5);

    Rig() {
        meshes.allocate(5);
        motions.allocate(5, 8);
        scenery = std::make_unique<kv::geom::SceneryStore>(*folder);
        terrain = std::make_unique<kv::geom::TerrainStore>(*folder, 16);
    }
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static Rig rig;
    if (!rig.folder)
        return 0;
    const auto file = rig.folder->folder() / "input.kvp";
    if (std::FILE* out = std::fopen(file.c_str(), "wb")) {
        std::fwrite(data, 1, size, out);
        std::fclose(out);
    } else {
        return 0;
    }
    (void)kv::app::checkProjectVersion(file, rig.messages);

    kv::app::ProjectState state = kv::app::newProjectState();
    kv::app::Preferences prefs;
    prefs.objectSlots = 5;
    prefs.recordFrames = 8;
    prefs.terrainGrid = 16;
    const kv::app::ProjectContents contents{state,       prefs,        rig.objects, rig.meshes,
                                            rig.motions, *rig.scenery, *rig.terrain};
    const auto result = kv::app::loadProject(file, contents, rig.messages);
    if (result.status != kv::app::ProjectLoad::kFailed && rig.terrain->present() &&
        rig.terrain->allocateTerrainGrid()) {
        (void)rig.terrain->sortTerrain(rig.progress, rig.messages);
    }
    rig.scenery->clear();
    rig.terrain->discardTerrain();
    return 0;
}
