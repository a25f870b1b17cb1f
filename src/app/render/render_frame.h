#pragma once
/// What one camera-view frame draws and in which order, decided without the
/// graphics library so the view only carries the plan out.

#include <vector>

namespace kv::app {

enum class DrawStep {
    LayoutCheck,    ///< pending view aspect check
    LoadLight,      ///< first frame: light 0 from its record
    ConsumeKey,     ///< camera keys, ESC, P, T
    RefreshObjects, ///< per-object draw states
    UpdateCamera,
    ClearAndBase, ///< clear colour and depth, load the base matrix
    ViewGuides,
    CameraRotation, ///< minus roll about x, pitch about y, yaw about z
    SkyAndStars,    ///< turned 45 deg about z, before the translation
    CameraTranslation,
    SunLight, ///< light 0's position from the sun angle
    TerrainOrGrid,
    Objects,
    Scenery,
    PitchLadder,
    Swap, ///< flush and swap
    StatusOverlay,
};

struct FramePlanInput {
    bool layoutCheckPending = false;
    bool firstFrame = false;
    bool terrainLoaded = false;
    bool gridOn = true;
    int objectCount = 0;
    bool observing = false;
    int followed = 0; ///< followed object index
    int cameraMode = 0;
    bool objectZeroFlies = false; ///< object 0 is an aircraft or a helicopter
    int sceneryCount = 0;
};

struct FramePlan {
    std::vector<DrawStep> steps;
    bool drawTerrain = false; ///< call the terrain list (it takes the grid's place)
    bool drawGrid = false;    ///< call the grid list
    std::vector<int> objects; ///< object slots drawn, in order
    int sceneryLists = 0;     ///< scenery lists 0..n-1 called
    bool pitchLadder = false;
};

FramePlan planFrame(const FramePlanInput& in);

} // namespace kv::app
