#pragma once
/// What the camera view shows of the document: the display lists built from
/// the project's objects, scenery, terrain and grid, and each frame's draw
/// states taken from the run (or, for objects without a run slot, from their
/// stored motion).

#include "app/camera/scene_step.h"
#include "app/render/render_ladder.h"
#include "views/gl_scene_renderer.h"

#include <utility>
#include <vector>

namespace kv::app {
class Document;
}

namespace kv::views {

/// Starting pose of the program's camera: behind the default car and above
/// it, looking a little down (m, deg).
inline constexpr Vec3 kStartCameraPosition{-18.0f, 0.0f, -3.5f};
inline constexpr Vec3 kStartCameraAngles{0.0f, -6.0f, 0.0f};

class SceneContent {
  public:
    /// Takes the camera settings from the document's preferences and, when
    /// the camera still stands at the origin, places it behind the vehicle.
    explicit SceneContent(app::Document& document);

    app::Document& document() { return document_; }
    const app::Document& document() const { return document_; }
    app::SceneState& scene() { return scene_; }
    const app::SceneState& scene() const { return scene_; }

    /// Copies the preferences and counts the scene reads (camera settings,
    /// object count, observe mode).
    void refreshSettings();

    /// Builds every list of the project with the view's context current:
    /// sky, stars, markers, grid, guides, head-up lists, then the objects,
    /// the scenery and the terrain.
    void buildLists(GlSceneRenderer& renderer, ProgressPort& progress);

    /// Whether the project changed since the lists were last built (objects,
    /// their geometry and colours, scenery, terrain, grid, lens): a cheap
    /// fingerprint, so that every operation that changes the project shows.
    bool listsOutdated() const { return fingerprint() != builtFingerprint_; }

    /// The pose of `objectIndex` this frame: its run slot, else its stored
    /// motion at `time` (s), else its initial position.
    app::Pose pose(const sim::RunState& run, int objectIndex, float time);

    /// The path to follow drawn in every frame (scene axes, m); empty: none.
    void setPathLine(std::vector<Vec3> line) { pathLine_ = std::move(line); }

    /// This frame's draw states and plan, the camera as `camera` holds it.
    SceneFrame frame(const sim::RunState& run, const sim::CameraRecord& camera, bool firstFrame);

  private:
    std::vector<double> fingerprint() const;
    model::MotionFrame frameValues(const sim::RunState& run, int objectIndex, float time);

    app::Document& document_;
    app::SceneState scene_;
    app::FlightPathMarker marker_;
    std::vector<double> builtFingerprint_;
    std::vector<Vec3> pathLine_;
};

} // namespace kv::views
