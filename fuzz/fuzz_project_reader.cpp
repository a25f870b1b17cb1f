// Feeds arbitrary bytes to the project version test and the project reader,
// then sorts whatever terrain was read. Inputs are read from memory; only the
// scenery and terrain working files touch the disk.

#include "app/document/project_file.h"
#include "app/settings/preferences.h"
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
    if (size == 0)
        return 0; // fmemopen refuses an empty buffer
    // fmemopen wants a writable buffer even for reading.
    std::vector<std::uint8_t> bytes(data, data + size);
    auto open = [&] { return fmemopen(bytes.data(), bytes.size(), "rb"); };
    if (std::FILE* in = open()) {
        (void)kv::app::checkProjectVersion(in, rig.messages);
        std::fclose(in);
    }
    std::FILE* in = open();
    if (!in)
        return 0;

    kv::app::ProjectState state = kv::app::newProjectState();
    kv::app::Preferences prefs;
    prefs.objectSlots = 5;
    prefs.recordFrames = 8;
    prefs.terrainGrid = 16;
    const kv::app::ProjectContents contents{state,       prefs,        rig.objects, rig.meshes,
                                            rig.motions, *rig.scenery, *rig.terrain};
    const auto result = kv::app::loadProject(in, contents, rig.messages);
    std::fclose(in);
    if (result.status != kv::app::ProjectLoad::kFailed && rig.terrain->present() &&
        rig.terrain->allocateTerrainGrid()) {
        (void)rig.terrain->sortTerrain(rig.progress, rig.messages);
    }
    rig.scenery->clear();
    rig.terrain->discardTerrain();
    return 0;
}
