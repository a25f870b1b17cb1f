// KestrovaneLoad: the Layout scene converter "Kestrovane-Load". LightWave hands
// it a motion file; it writes a scene of null objects beside it and names that
// scene back to the host, which then loads it.

#include "common/host_globals.h"
#include "common/module_descriptor.h"
#include "common/panel_controls.h"
#include "lw_interface.h"
#include "lws_convert.h"

#include <string>

namespace {

using kv::lws::SceneSettings;

/// The converted scene stays on disk after loading: it is the user's result.
void keepScene(const char*) {}

/// Texts the host reads after the activation has returned.
struct ActivationTexts {
    std::string failure;
    std::string scene;
};

ActivationTexts& texts() {
    static ActivationTexts t;
    return t;
}

void show(LWMessageFuncs* messages, const std::string& text) {
    messages->info(text.c_str(), nullptr);
}

enum class PanelResult { Ok, Cancel };

/// Asks for the settings, preset to `s`; on OK the panel's values replace them.
PanelResult askSettings(LWPanelFuncs* panels, SceneSettings& s) {
    using namespace kv::lwplug;
    LWPanelID panel = createKestrovanePanel(panels);
    if (!panel)
        return PanelResult::Ok; // no panel to show: convert with the defaults
    LWControl* skip = addNumControl(panels, panel, "Frame Skip");
    LWControl* scale = addFloatControl(panels, panel, "Time Scale (%)");
    LWControl* offset = addFloatControl(panels, panel, "Time Offset (Sec)");
    if (!skip || !scale || !offset) {
        panels->destroy(panel);
        return PanelResult::Ok;
    }
    setInt(skip, s.frameSkip);
    setFloat(scale, s.timeScalePercent);
    setFloat(offset, s.timeOffset);
    const bool ok = runPanel(panels, panel);
    if (ok) {
        s.frameSkip = getInt(skip);
        s.timeScalePercent = getFloat(scale);
        s.timeOffset = getFloat(offset);
    }
    panels->destroy(panel);
    return ok ? PanelResult::Ok : PanelResult::Cancel;
}

void convert(LWSceneConverter* converter, double fps, LWMessageFuncs* messages,
             LWPanelFuncs* panels) {
    ActivationTexts& out = texts();
    auto fail = [&](std::string why) {
        out.failure = std::move(why);
        converter->readFailure = out.failure.c_str();
    };
    if (!converter->filename)
        return fail("No motion file was given.");
    if (auto why = kv::lws::frameRateProblem(fps); !why.empty())
        return fail(why);

    SceneSettings settings;
    if (panels && askSettings(panels, settings) == PanelResult::Cancel)
        return;
    if (auto why = kv::lws::settingsProblem(settings); !why.empty())
        return show(messages, why);

    const std::string motion = converter->filename;
    const std::string scene = kv::lws::scenePathFor(motion);
    const auto result = kv::lws::convertMotionToScene(motion, scene, fps, settings);
    switch (result.outcome) {
    case kv::lws::Outcome::Written:
        out.scene = scene;
        converter->tmpScene = out.scene.c_str();
        break;
    case kv::lws::Outcome::Refused:
        show(messages, result.text);
        break;
    case kv::lws::Outcome::Failed:
        fail(result.text);
        break;
    }
}

XCALL_(int) activateLoad(int version, GlobalFunc* global, void* local, void*) {
    // A later host numbers the class higher; it is taken while its record is
    // known to begin with the members read here.
    if (version < LWSCENECONVERTER_VERSION || version > LWSCENECONVERTER_VERSION_LATEST)
        return AFUNC_BADVERSION;
    using namespace kv::lwplug;
    auto* items = static_cast<LWItemInfo*>(findGlobal(global, kItemInfoNames));
    auto* scene = static_cast<LWSceneInfo*>(findGlobal(global, kSceneInfoNames));
    auto* messages = static_cast<LWMessageFuncs*>(findGlobal(global, kMessageNames));
    if (!items || !scene || !messages)
        return AFUNC_BADGLOBAL;
    auto* converter = static_cast<LWSceneConverter*>(local);
    if (!converter)
        return AFUNC_BADLOCAL;
    const double fps = scene->framesPerSecond;
    auto* panels = static_cast<LWPanelFuncs*>(findGlobal(global, kPanelNames));

    texts() = ActivationTexts{};
    converter->readFailure = nullptr;
    converter->tmpScene = nullptr;
    converter->deleteTmp = keepScene;
    convert(converter, fps, messages, panels);
    return AFUNC_OK;
}

} // namespace

KV_LW_SINGLE_SERVER_MODULE(LWSCENECONVERTER_CLASS, "Kestrovane-Load", activateLoad)
