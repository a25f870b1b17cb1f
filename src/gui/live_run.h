#pragma once
/// Simulation > Begin in the desktop program: the core run loop driven live,
/// with frames paced by the wall clock, the controller read from the camera
/// view, the mouse, the keyboard and joystick 0, and every frame drawn in the
/// camera view. Also the view's keys outside a run and the F12 camera preview.

#include "app/follow/follow_path.h"
#include "app/input/input_controls.h"
#include "common/ports/clock.h"
#include "common/ports/files.h"
#include "common/ports/messages.h"
#include "common/ports/notices.h"
#include "views/scene_content.h"

#include <functional>
#include <memory>
#include <optional>
#include <string_view>

namespace kv::app {
class Document;
}

namespace kv::views {
class CameraView;
}

namespace kv::gui {

class DesktopInput;
class SdlGamepad;
class SdlJoystick;

class LiveRun {
  public:
    /// Shows `document`'s scene in `view` (which must outlive this object).
    LiveRun(app::Document& document, views::CameraView& view, MessagePort& messages);
    ~LiveRun();
    LiveRun(const LiveRun&) = delete;
    LiveRun& operator=(const LiveRun&) = delete;

    views::SceneContent& content() { return content_; }
    /// Rebuilds the view's lists after the project changed.
    void projectChanged();

    /// Simulation > Begin: the run with the desktop's devices and the wall clock.
    void begin();
    /// A run whose controller is `controls` (its pending key and Alt state
    /// reach the scene) and whose frames `clock` paces. With `driver` the
    /// vehicle's controls come from it instead (a path follower around `controls`).
    void run(app::DeviceControls& controls, ClockPort& clock, sim::ControlsPort* driver = nullptr);

    /// Simulation > Follow Path...: the next Begin drives `path`, drawn in the
    /// view until that run ends.
    void followPath(app::FollowPath path);
    bool pathChosen() const { return path_.has_value(); }
    /// The command itself: asks `files` for the path and reads it in the
    /// working units; a path that cannot be read is reported and nothing changes.
    void chooseAndFollowPath(FilePort& files);
    bool running() const { return running_; }
    /// The simulated object is a car or motorcycle (not an aircraft or helicopter).
    bool groundVehicle() const;
    /// The status-bar prompt of a run with the chosen controller.
    std::string_view runPrompt() const;
    /// Frames drawn by the last run.
    int framesDrawn() const { return frames_; }

    /// A key pressed in the camera view outside a run: F12 starts the camera
    /// preview; any other key waits for the next drawn frame, which is drawn now.
    void viewKey(int key);

    /// Called after every run (to refresh the command states and the views).
    void setRunEnded(std::function<void()> callback) { runEnded_ = std::move(callback); }
    /// Where a run's notices go (a vehicle placed on the ground); none: nowhere.
    void setNotices(NoticePort* notices) { notices_ = notices; }
    /// Called after every frame drawn in the camera view (`live`: during a run
    /// or the camera preview) and, with false, after a run or a project change.
    void setFrameDrawn(std::function<void(bool live)> callback) {
        frameDrawn_ = std::move(callback);
    }
    /// Called with true when a run or the camera preview takes the program,
    /// and with false when it gives it back: no command may run meanwhile.
    void setRunningChanged(std::function<void(bool)> callback) {
        runningChanged_ = std::move(callback);
    }

    /// Shows the document as it stands now (after a command changed it),
    /// without waiting for a key or a resize.
    void redraw();

  private:
    class Scene;
    class Preview;

    /// Moves the camera, consumes the pending key and draws one frame.
    sim::RunKey drawLive(const sim::RunState& run, sim::CameraRecord& camera,
                         const sim::ControlRecord& cameraControls, app::InputState& input,
                         bool runActive, bool overlay);
    void setRunning(bool running);
    /// The controller settings of a run now: the preferences and the
    /// simulated object's kind. With the gamepad chosen, opens the first pad
    /// connected (a pad plugged in during a run is taken by the next).
    app::ControllerSettings runSettings();

    app::Document& document_;
    views::CameraView& view_;
    MessagePort& messages_;
    views::SceneContent content_;
    std::unique_ptr<SdlJoystick> joystick_;
    std::unique_ptr<SdlGamepad> gamepad_;
    DesktopInput* input_ = nullptr; ///< the devices of the run in progress, if real
    int pendingKey_ = 0;            ///< key waiting outside a run
    bool running_ = false;
    int frames_ = 0;
    std::function<void()> runEnded_;
    NoticePort* notices_ = nullptr;
    std::function<void(bool)> frameDrawn_;
    std::function<void(bool)> runningChanged_;
    std::optional<app::FollowPath> path_; ///< followed by the next Begin
};

} // namespace kv::gui
