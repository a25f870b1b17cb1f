#pragma once
/// Reads back the scene text that the converter writes, checking every line
/// of its fixed layout, so tests can assert on objects and keys.

#include <array>
#include <optional>
#include <string>
#include <vector>

namespace kv::plugtest {

struct SceneKey {
    std::array<double, 6> values{}; ///< X, Y, Z, heading, pitch, bank
    std::array<double, 3> scale{};
    int frame = 0;
};

struct SceneObject {
    std::string name;
    int keyCount = 0; ///< as announced before the keys
    std::vector<SceneKey> keys;
    std::optional<int> parent;
};

struct Scene {
    int lastFrame = 0;
    std::string framesPerSecond; ///< as written
    std::vector<SceneObject> objects;
    std::string error; ///< first deviation from the layout, "" when none
};

Scene parseScene(const std::string& text);

std::vector<int> keyFrames(const SceneObject& object);

} // namespace kv::plugtest
