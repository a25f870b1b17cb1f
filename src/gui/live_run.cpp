#include "gui/live_run.h"

#include "app/camera/camera_preview.h"
#include "app/document/document.h"
#include "app/follow/follow_command.h"
#include "app/follow/follow_controls.h"
#include "app/input/input_keys.h"
#include "app/input/run_prompt.h"
#include "app/render/status_overlay.h"
#include "common/interrupt_signals.h"
#include "common/steady_clock.h"
#include "gui/desktop_input.h"
#include "gui/sdl_gamepad.h"
#include "gui/sdl_joystick.h"
#include "views/camera_view.h"

#include <QCoreApplication>

namespace kv::gui {

/// The run loop's scene: moves the camera, consumes the keys and draws the
/// frame in the camera view.
class LiveRun::Scene final : public sim::ScenePort {
  public:
    Scene(LiveRun& owner, app::InputState& input) : owner_(owner), input_(input) {}

    sim::RunKey drawFrame(const sim::RunState& run, sim::CameraRecord& camera,
                          const sim::ControlRecord& cameraControls) override {
        const sim::RunKey key = owner_.drawLive(run, camera, cameraControls, input_, true, true);
        // A request to stop from outside (a signal, the session's logout) ends
        // the run as ESC does, so that its take is kept.
        return interruptSignal() != 0 ? sim::RunKey::Escape : key;
    }

  private:
    LiveRun& owner_;
    app::InputState& input_;
};

/// The F12 preview: the controller drives the camera while the physics rests.
class LiveRun::Preview final : public app::CameraPreviewHost {
  public:
    Preview(LiveRun& owner, app::DeviceControls& controls, DesktopInput& input)
        : owner_(owner), controls_(controls), input_(input) {}

    void beginInput() override {
        controls_.begin();
        clock_.restart();
        start_.restart();
    }
    void endInput() override {}
    float elapsedSeconds() override { return static_cast<float>(start_.elapsed()); }
    sim::RunKey previewFrame(int frameCounter, float time) override {
        app::Document& doc = owner_.document_;
        clock_.waitUntil(doc.preferences().framePeriod);
        clock_.restart();
        sim::RunState& run = doc.run();
        sim::CameraRecord& camera = doc.camera();
        camera.time = time;
        sim::ControlRecord vehicle;
        controls_.readControls(camera, vehicle, run.cameraControls);
        input_.showCursor(controls_.state().cursor);
        const int saved = run.frameCounter;
        run.frameCounter = frameCounter;
        const sim::RunKey key =
            owner_.drawLive(run, camera, run.cameraControls, controls_.state(), true, false);
        run.frameCounter = saved;
        return interruptSignal() != 0 ? sim::RunKey::Escape : key;
    }

  private:
    LiveRun& owner_;
    app::DeviceControls& controls_;
    DesktopInput& input_;
    SteadyClock clock_;
    SteadyClock start_;
};

LiveRun::LiveRun(app::Document& document, views::CameraView& view, MessagePort& messages)
    : document_(document), view_(view), messages_(messages), content_(document),
      joystick_(std::make_unique<SdlJoystick>()), gamepad_(std::make_unique<SdlGamepad>()) {
    if (views::SceneSurface* surface = view_.surface())
        surface->setContent(&content_);
    view_.setKeyHandler([this](int key) { viewKey(key); });
}

LiveRun::~LiveRun() {
    view_.setKeyHandler({});
    if (views::SceneSurface* surface = view_.surface())
        surface->setContent(nullptr);
}

void LiveRun::projectChanged() {
    content_.refreshSettings();
    if (views::SceneSurface* surface = view_.surface()) {
        surface->rebuildLists();
        surface->clearFrame();
    }
    if (frameDrawn_)
        frameDrawn_(false);
}

sim::RunKey LiveRun::drawLive(const sim::RunState& run, sim::CameraRecord& camera,
                              const sim::ControlRecord& cameraControls, app::InputState& input,
                              bool runActive, bool overlay) {
    app::SceneState& scene = content_.scene();
    const app::PoseLookup poses = [&](int k) { return content_.pose(run, k, camera.time); };
    const app::SceneKeyResult key =
        app::advanceScene(scene, input.pendingKey, input.alt, run.frameCounter, runActive,
                          cameraControls, camera, poses);
    ++frames_;
    if (views::SceneSurface* surface = view_.surface()) {
        std::vector<app::OverlayText> texts;
        if (overlay)
            texts = app::statusOverlay(camera.time, run.flags.late, surface->height());
        surface->showFrame(content_.frame(run, camera, run.frameCounter == 0), std::move(texts));
    }
    if (input_ != nullptr)
        input_->showCursor(input.cursor);
    if (frameDrawn_)
        frameDrawn_(runActive);
    return key.runKey;
}

void LiveRun::setRunning(bool running) {
    running_ = running;
    if (runningChanged_)
        runningChanged_(running);
}

void LiveRun::redraw() {
    if (running_)
        return;
    content_.refreshSettings();
    if (views::SceneSurface* surface = view_.surface()) {
        // Built here rather than in the paint, so that their progress shows.
        if (content_.listsOutdated())
            surface->rebuildLists();
        surface->clearFrame();
    }
    view_.update();
}

void LiveRun::run(app::DeviceControls& controls, ClockPort& clock, sim::ControlsPort* driver) {
    if (running_)
        return;
    setRunning(true);
    frames_ = 0;
    content_.refreshSettings();
    controls.begin();
    Scene scene(*this, controls.state());
    sim::ControlsPort& port = driver != nullptr ? *driver : controls;
    document_.runSimulation(sim::RunPorts{clock, port, scene, messages_}, notices_);
    setRunning(false);
    if (views::SceneSurface* surface = view_.surface())
        surface->clearFrame();
    if (frameDrawn_)
        frameDrawn_(false);
    if (runEnded_)
        runEnded_();
}

bool LiveRun::groundVehicle() const {
    const std::int32_t type = document_.object(0).vehicleType;
    return type != model::kVehicleAircraft && type != model::kVehicleHelicopter;
}

std::string_view LiveRun::runPrompt() const {
    return app::runPrompt(
        app::controllerDeviceFromField(document_.preferences().controllerCentring),
        groundVehicle());
}

app::ControllerSettings LiveRun::runSettings() {
    const app::ControllerSettings settings =
        app::controllerSettingsFrom(document_.preferences(), groundVehicle());
    if (settings.device == app::ControllerDevice::Gamepad)
        gamepad_->open();
    else
        gamepad_->close();
    return settings;
}

void LiveRun::begin() {
    if (running_)
        return;
    const app::ControllerSettings settings = runSettings();
    DesktopInput input(view_, joystick_.get(), settings.joystick(), gamepad_.get());
    input_ = &input;
    app::DeviceControls controls(input, settings);
    SteadyClock clock;
    view_.setFocus();
    if (path_) {
        // The follower drives; ESC and the camera keys stay the person's.
        app::PathFollower follower(std::move(*path_), app::FollowSettings{});
        path_.reset();
        app::FollowControls driver(follower, document_.run(), controls, controls.state());
        run(controls, clock, &driver);
        content_.setPathLine({});
        const std::string problem =
            app::followProblemMessage(follower.report(), document_.preferences().lengthUnitFactor);
        if (!problem.empty())
            messages_.showMessage(problem);
    } else {
        run(controls, clock);
    }
    input_ = nullptr;
}

void LiveRun::chooseAndFollowPath(FilePort& files) {
    if (running_)
        return;
    const std::optional<std::string> chosen = files.choose(app::followPathRequest());
    if (!chosen)
        return;
    app::FollowPath path;
    std::string error;
    if (!app::readPathToFollow(*chosen, document_.preferences().lengthUnitFactor, path, error)) {
        messages_.showMessage(error);
        return;
    }
    followPath(std::move(path));
}

void LiveRun::followPath(app::FollowPath path) {
    content_.setPathLine(app::pathLineOf(path));
    path_ = std::move(path);
    viewKey(app::kKeyNone); // draws the view now, with the path
}

void LiveRun::viewKey(int key) {
    if (running_)
        return;
    if (key != app::kKeyF12) {
        // Outside a run the key acts on the next drawn frame: draw it now.
        pendingKey_ = key;
        const sim::ControlRecord still;
        app::InputState state;
        state.pendingKey = pendingKey_;
        sim::RunState& run = document_.run();
        const int saved = run.frameCounter;
        run.frameCounter = 1;
        drawLive(run, document_.camera(), still, state, false, false);
        run.frameCounter = saved;
        pendingKey_ = app::kKeyNone;
        return;
    }
    setRunning(true);
    const app::ControllerSettings settings = runSettings();
    DesktopInput input(view_, joystick_.get(), settings.joystick(), gamepad_.get());
    input_ = &input;
    app::DeviceControls controls(input, settings);
    Preview host(*this, controls, input);
    app::PreviewFlags flags;
    app::runCameraPreview(document_.camera(), controls.state().pendingKey, flags, host);
    input_ = nullptr;
    setRunning(false);
    if (views::SceneSurface* surface = view_.surface())
        surface->clearFrame();
    if (frameDrawn_)
        frameDrawn_(false);
}

} // namespace kv::gui
