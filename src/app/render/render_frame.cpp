#include "app/render/render_frame.h"

#include "app/camera/camera_state.h"

#include <algorithm>

namespace kv::app {

FramePlan planFrame(const FramePlanInput& in) {
    FramePlan p;
    const bool cockpit = in.cameraMode == kModeCockpit;
    if (in.terrainLoaded)
        p.drawTerrain = in.gridOn;
    else
        p.drawGrid = in.gridOn;
    for (int k = in.observing ? 1 : 0; k < in.objectCount; ++k)
        if (!(cockpit && k == in.followed))
            p.objects.push_back(k);
    p.sceneryLists = std::clamp(in.sceneryCount, 0, 5);
    p.pitchLadder = cockpit && in.followed == 0 && in.objectCount > 0 && in.objectZeroFlies;

    auto& s = p.steps;
    if (in.layoutCheckPending)
        s.push_back(DrawStep::LayoutCheck);
    if (in.firstFrame)
        s.push_back(DrawStep::LoadLight);
    s.insert(s.end(), {DrawStep::ConsumeKey, DrawStep::RefreshObjects, DrawStep::UpdateCamera,
                       DrawStep::ClearAndBase, DrawStep::ViewGuides, DrawStep::CameraRotation,
                       DrawStep::SkyAndStars, DrawStep::CameraTranslation, DrawStep::SunLight});
    if (p.drawTerrain || p.drawGrid)
        s.push_back(DrawStep::TerrainOrGrid);
    if (!p.objects.empty())
        s.push_back(DrawStep::Objects);
    if (p.sceneryLists > 0)
        s.push_back(DrawStep::Scenery);
    if (p.pitchLadder)
        s.push_back(DrawStep::PitchLadder);
    s.push_back(DrawStep::Swap);
    s.push_back(DrawStep::StatusOverlay);
    return p;
}

} // namespace kv::app
