// File > Export Scene to glTF: the document's side of the scene export.

#include "app/document/document.h"
#include "app/document/scene_gltf.h"

namespace kv::app {

namespace {

constexpr const char* kGlbFilter = "glTF Binary Files (*.glb *.GLB);;All Files (*)";

} // namespace

bool Document::exportScene(const std::string& generator,
                           std::optional<std::filesystem::path> file) {
    if (!file)
        file = ask(FileRequest{"Export Scene to glTF:", kGlbFilter, "glb", projectName(), true});
    if (!file)
        return false;
    const SceneTakes takes = hasLiveTakes(*this) ? liveTakes(*this) : SceneTakes{};
    return exportSceneGltf(*this, takes, *file, titleWithoutExtension(*file), generator,
                           ports_.progress, ports_.messages);
}

} // namespace kv::app
