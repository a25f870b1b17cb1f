#pragma once
/// The OpenGL renderer of the camera view: fixed-function state, the scene's
/// display lists and the per-frame draw, carried out in the order the core's
/// frame plan gives. It draws what it is handed; it decides nothing about the
/// simulation.

#include "app/camera/camera_state.h"
#include "app/render/render_frame.h"
#include "app/render/render_lists.h"
#include "model/motion_frame.h"
#include "simulation/camera_record.h"
#include "views/gl_display_lists.h"

#include <array>
#include <vector>

namespace kv::views {

/// One object as this frame draws it.
struct ObjectDrawState {
    app::Pose pose;                              ///< position (m), roll, pitch, yaw (deg)
    model::MotionFrame frame{};                  ///< the values its effectors follow
    const model::ObjectRecord* record = nullptr; ///< effector tree; none: no markers
};

/// Everything one frame draws, taken from the core before drawing.
struct SceneFrame {
    app::FramePlan plan;
    sim::CameraRecord camera;
    std::vector<ObjectDrawState> objects; ///< by object index
    int followed = 0;
    float sunAngle = 100.0f; ///< deg
    bool loadLight = false;  ///< load light 0 from its record (first frame of a run)
    bool gridCentring = true;
    float gridSpacing = 50.0f;     ///< m
    std::array<bool, 4> guides{};  ///< action safe, title safe, cross line, hatch line
    bool flightPathMarker = false; ///< draw the marker at the smoothed angles
    float alpha = 0.0f;            ///< smoothed angle of attack (deg)
    float beta = 0.0f;             ///< smoothed sideslip (deg)
    std::vector<Vec3> pathLine;    ///< path to follow, scene axes (m); empty: none
};

class GlSceneRenderer {
  public:
    GlSceneRenderer();
    GlSceneRenderer(const GlSceneRenderer&) = delete;
    GlSceneRenderer& operator=(const GlSceneRenderer&) = delete;

    /// Fixed GL state, then the sky, stars, markers, grid, ladder, guides and
    /// digits. Frees the scenery and terrain lists first.
    void initialise(float gridSpacing, float gridSize, float fieldOfView, float viewAspect);
    /// Sets the fixed GL state (also after anything else drew on the context).
    static void applyFixedState();

    /// Viewport and gluPerspective for a view `width` x `height`; a view
    /// without height keeps the previous projection.
    void setProjection(int width, int height, float fieldOfView, float viewAspect);

    void buildGrid(float spacing, float size);
    void buildGuides(float fieldOfView, float viewAspect);
    bool buildTerrain(const geom::TerrainGrid& grid, int stride, ProgressPort& progress);
    void freeTerrain();
    void buildScenery(int set, geom::SceneryStore& store, const app::Material& material,
                      ProgressPort& progress);
    void freeScenery(int set);
    void freeAllScenery();
    /// Object slot `k`'s list; true when the object had geometry.
    bool buildObject(int k, geom::MeshStore& meshes, const app::Material& material);
    /// Keeps exactly `count` object slots (freeing the lists past it).
    void setObjectSlots(int count);

    /// Draws one frame (up to the flush; the caller swaps and overlays).
    void draw(const SceneFrame& frame);

    const app::SceneLists& lists() const { return lists_; }
    const app::DisplayListManager& manager() const { return manager_; }

  private:
    void drawEffector(const model::ObjectRecord& record, const model::MotionFrame& frame, int index,
                      int depth);
    void drawPitchLadder(const SceneFrame& frame);
    static void drawPathLine(const std::vector<Vec3>& line);

    GlListBackend backend_;
    app::DisplayListManager manager_;
    app::SceneLists lists_;
};

} // namespace kv::views
