#include "views/scene_content.h"

#include "app/camera/camera_settings.h"
#include "app/document/document.h"
#include "app/render/scene_objects.h"
#include "app/settings/units.h"

#include <cmath>
#include <functional>
#include <string>

namespace kv::views {

namespace {

/// The import transform's fields, in their stored order.
void appendTransform(std::vector<double>& f, const model::GeometryTransform& t) {
    f.insert(f.end(), {static_cast<double>(t.rightHanded), t.fileUnit});
    for (const auto* part : {&t.rotate, &t.translate, &t.scale})
        f.insert(f.end(), part->begin(), part->end());
}

bool flies(const model::ObjectRecord& r) {
    return r.vehicleType == model::kVehicleAircraft || r.vehicleType == model::kVehicleHelicopter;
}

} // namespace

SceneContent::SceneContent(app::Document& document) : document_(document) {
    refreshSettings();
    sim::CameraRecord& camera = document_.camera();
    if (camera.mode == app::kModeRoam && camera.position == Vec3{} && camera.angles == Vec3{}) {
        const app::Pose p = pose(document_.run(), 0, 0.0f);
        for (std::size_t i = 0; i < 3; ++i)
            camera.position[i] = p.position[i] + kStartCameraPosition[i];
        camera.angles = kStartCameraAngles;
    }
}

void SceneContent::refreshSettings() {
    const app::Preferences& prefs = document_.preferences();
    scene_.settings = app::cameraSettingsFrom(prefs);
    scene_.objectCount = document_.objectCount();
    scene_.observing = document_.state().observeMode != 0;
}

std::vector<double> SceneContent::fingerprint() const {
    const app::Document& doc = document_;
    const app::Preferences& prefs = doc.preferences();
    std::vector<double> f{static_cast<double>(doc.objectCount()),
                          prefs.gridSpacing,
                          prefs.gridSize,
                          static_cast<double>(prefs.terrainResolutionStep),
                          scene_.settings.fieldOfView,
                          scene_.settings.viewAspect};
    auto& meshes = const_cast<app::Document&>(doc).meshes();
    for (int k = 0; k < doc.objectCount(); ++k) {
        const model::ObjectRecord& r = doc.object(k);
        f.insert(f.end(), {static_cast<double>(r.vehicleType), static_cast<double>(r.color),
                           static_cast<double>(r.transparency),
                           meshes.hasStore() && k < meshes.slotCount()
                               ? static_cast<double>(meshes.triangleCount(k))
                               : -1.0});
    }
    // Any change of a mesh, not only of its triangle count (a new import of
    // as many triangles, a re-transform).
    f.push_back(meshes.hasStore() ? static_cast<double>(meshes.geometryRevision()) : -1.0);
    auto& scenery = const_cast<app::Document&>(doc).scenery();
    f.push_back(scenery.count());
    for (int i = 0; i < scenery.count(); ++i) {
        const geom::SceneSetInfo& info = scenery.set(i);
        f.insert(f.end(), {static_cast<double>(info.color), static_cast<double>(info.transparency),
                           static_cast<double>(info.triangleCount)});
        appendTransform(f, info.transform);
        f.push_back(static_cast<double>(std::hash<std::string>{}(info.baseName)));
    }
    auto& terrain = const_cast<app::Document&>(doc).terrain();
    f.push_back(terrain.present() ? terrain.grid().n : -1);
    if (terrain.present()) {
        f.push_back(terrain.info().triangleCount);
        appendTransform(f, terrain.info().transform);
        f.push_back(static_cast<double>(std::hash<std::string>{}(terrain.info().baseName)));
    }
    if (terrain.present() && terrain.grid().allocated())
        f.insert(f.end(), {terrain.grid().xMin, terrain.grid().xMax, terrain.grid().yMin,
                           terrain.grid().yMax, terrain.grid().dx});
    return f;
}

void SceneContent::buildLists(GlSceneRenderer& renderer, ProgressPort& progress) {
    builtFingerprint_ = fingerprint();
    const app::Preferences& prefs = document_.preferences();
    renderer.initialise(prefs.gridSpacing, prefs.gridSize, scene_.settings.fieldOfView,
                        scene_.settings.viewAspect);
    const int objects = document_.objectCount();
    renderer.setObjectSlots(objects);
    for (int k = 0; k < objects; ++k) {
        const model::ObjectRecord& r = document_.object(k);
        renderer.buildObject(k, document_.meshes(), app::objectMaterial(r.color, r.transparency));
    }
    geom::SceneryStore& scenery = document_.scenery();
    for (int i = 0; i < scenery.count() && i < app::kScenerySlots; ++i) {
        const geom::SceneSetInfo& info = scenery.set(i);
        renderer.buildScenery(i, scenery, app::objectMaterial(info.color, info.transparency),
                              progress);
    }
    const geom::TerrainStore& terrain = document_.terrain();
    if (terrain.present() && terrain.grid().allocated())
        renderer.buildTerrain(terrain.grid(), prefs.terrainResolutionStep, progress);
}

model::MotionFrame SceneContent::frameValues(const sim::RunState& run, int k, float time) {
    NullMessages quiet;
    return app::sceneFrameOf(document_, run, k, time, model::kFrameFieldCount, quiet);
}

app::Pose SceneContent::pose(const sim::RunState& run, int k, float time) {
    if (k < 0 || k >= document_.objectCount())
        return {};
    return app::poseOfFrame(frameValues(run, k, time));
}

SceneFrame SceneContent::frame(const sim::RunState& run, const sim::CameraRecord& camera,
                               bool firstFrame) {
    const app::Preferences& prefs = document_.preferences();
    SceneFrame f;
    f.camera = camera;
    f.followed = scene_.followed;
    f.sunAngle = scene_.sunAngle;
    f.loadLight = firstFrame;
    f.gridCentring = prefs.gridCentering != 0;
    f.gridSpacing = prefs.gridSpacing;
    f.pathLine = pathLine_;
    f.guides = {prefs.actionSafeShown != 0, prefs.titleSafeShown != 0, prefs.crossLineShown != 0,
                prefs.hatchLineShown != 0};

    const int count = document_.objectCount();
    f.objects.resize(static_cast<std::size_t>(std::max(0, count)));
    for (int k = 0; k < count; ++k) {
        ObjectDrawState& o = f.objects[static_cast<std::size_t>(k)];
        o.frame = frameValues(run, k, camera.time);
        o.pose = app::poseOfFrame(o.frame);
        o.record = &document_.object(k);
    }

    app::FramePlanInput in;
    in.firstFrame = firstFrame;
    in.terrainLoaded = document_.terrain().present();
    in.gridOn = prefs.gridOn != 0;
    in.objectCount = count;
    in.observing = scene_.observing;
    in.followed = scene_.followed;
    in.cameraMode = camera.mode;
    in.objectZeroFlies = count > 0 && flies(document_.object(0));
    in.sceneryCount = document_.scenery().count();
    f.plan = app::planFrame(in);

    if (f.plan.pitchLadder && run.slotCount > 0) {
        const sim::SimObject& body = run.slots[0].sim;
        f.flightPathMarker = marker_.update(body.alpha * kDegPerRad, body.beta * kDegPerRad);
        f.alpha = marker_.alpha;
        f.beta = marker_.beta;
    }
    return f;
}

} // namespace kv::views
