#pragma once
/// Keys of the camera view: F-keys choose the camera mode, F11 the followed
/// object, F12 hands the controller to the camera; ESC, P and T act on the run.

#include "simulation/camera_record.h"
#include "simulation/run_flags.h"

namespace kv::app {

/// The mode F1-F6 select (Alt picks the second of a pair), or -1 for other keys.
int cameraModeForKey(int key, bool alt);

/// F11: the next followed object. Past the last object it wraps to 1 when
/// observing with more than one object (object 0 is then not followed), else 0.
int nextFollowedObject(int index, int objectCount, bool observing);

/// The followed-object index checked on the first frame of a run: 0 when past
/// the object count, 1 in place of 0 when observing with more than one object.
int followedOnFirstFrame(int index, int objectCount, bool observing);

/// Sun angle (deg) after one T press: 5 degrees more, wrapped to [-180, 180].
float turnSun(float angleDeg);

/// What consuming the stored key did besides the camera and sun changes.
struct SceneKeyResult {
    sim::RunKey runKey = sim::RunKey::None; ///< ESC and P for the run loop
    bool followedChanged = false;           ///< the project view needs a refresh
};

/// The state the scene's key consumption changes.
struct SceneKeyTarget {
    sim::CameraRecord& camera;
    int& followed;   ///< index of the followed object
    float& sunAngle; ///< deg
    int objectCount = 0;
    bool observing = false;
};

/// Consumes `pendingKey` (set to none afterwards) as the scene draw does once a
/// frame. `alt` is the Alt state of the last controller read.
SceneKeyResult consumeSceneKey(int& pendingKey, bool alt, SceneKeyTarget target);

/// What the view's key-down handler asks its caller to do.
enum class ViewKeyAction {
    Redraw,      ///< the key was stored; redraw the view and the instrument panel
    StartPreview ///< F12: run the camera preview loop
};

/// The view's key-down: F12 starts the preview, any other key becomes pending.
ViewKeyAction onViewKeyDown(int key, int& pendingKey);

} // namespace kv::app
