#pragma once
/// Conversion of a Kestrovane motion file into a LightWave scene of null
/// objects: one for the centre of gravity, one per effector, parented like the
/// effector tree, keyed at the scene's frame rate. Knows nothing of a host: the
/// Kestrovane-Load plug-in wraps it, and kestrovane-cli compiles the same
/// source, so it depends on the C++ standard library only.

#include <string>
#include <string_view>

namespace kv::lws {

/// What the user sets for one conversion (the plug-in's panel fields).
struct SceneSettings {
    int frameSkip = 1;               ///< write every n-th output frame
    double timeScalePercent = 100.0; ///< playback speed of the motion (%)
    double timeOffset = 0.0;         ///< stillness before the motion starts (s)
};

/// How a conversion ended.
enum class Outcome {
    Written, ///< the scene file is on disk
    Refused, ///< the input or a setting was refused; `text` is the user message
    Failed,  ///< no scene could be made (frame rate, files); `text` says why
};

struct ConversionResult {
    Outcome outcome = Outcome::Failed;
    std::string text; ///< message for Refused and Failed, empty when Written
};

/// The message for the first unusable setting, or "" when all are usable.
std::string settingsProblem(const SceneSettings& settings);

/// Why a scene cannot be keyed at `framesPerSecond`, or "" when it can.
std::string frameRateProblem(double framesPerSecond);

/// Object base name: the file name after its last folder separator ('\' or
/// '/'), cut at its first full stop.
std::string sceneBaseName(std::string_view motionPath);

/// The scene written for a motion file: the same folder and base name with
/// ".lws" (the file name cut at its first full stop).
std::string scenePathFor(std::string_view motionPath);

/// Converts `motionPath` into a scene at `scenePath` keyed at
/// `framesPerSecond`. The scene is written beside its target and renamed into
/// place, so a failed conversion leaves no scene and keeps any earlier file.
ConversionResult convertMotionToScene(const std::string& motionPath, const std::string& scenePath,
                                      double framesPerSecond, const SceneSettings& settings);

} // namespace kv::lws
