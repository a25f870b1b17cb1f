#include "export/gltf_export.h"

#include "common/file_names.h"
#include "export/gltf_buffer.h"
#include "export/gltf_object.h"
#include "model/motion_file.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <tiny_gltf.h>
#include <utility>
#include <vector>

namespace kv::exp {
namespace {

namespace fs = std::filesystem;

/// Base colour when the caller gives no palette: the Gray of the palette.
constexpr std::array<float, 4> kPlainGrey{0.6f, 0.6f, 0.6f, 1.0f};

} // namespace

GltfContainer gltfContainerFor(const fs::path& outputFile) {
    std::string ext = utf8Name(outputFile.extension());
    std::transform(ext.begin(), ext.end(), ext.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return ext == ".gltf" ? GltfContainer::kText : GltfContainer::kBinary;
}

bool exportGltf(const fs::path& motionFile, const fs::path& outputFile, std::string_view title,
                const GltfOptions& options, const ExportSlot& slot, MessagePort& messages) {
    // The reader hands the geometry to this mesh instead of the camera's.
    GltfMesh mesh;
    ExportSlot reading = slot;
    reading.camera.geometry.addFace = [&mesh](const std::array<double, 12>& face) {
        mesh.addFace(face);
        return 1;
    };
    ExportMotion motion(motionFile, reading, messages);
    if (!motion.ok())
        return false;
    const model::MotionStore& store = *slot.store;
    const int last = store.lastFrame(slot.camera.slot);
    const auto frames =
        store.frames(slot.camera.slot).first(static_cast<std::size_t>(std::max(last + 1, 0)));

    tinygltf::Model gltf;
    gltf.asset.version = "2.0";
    gltf.asset.generator = options.generator;
    GltfBuffer buffer(gltf);
    tinygltf::Animation animation;
    animation.name = std::string(title);
    GltfObject object;
    object.record = &motion.record();
    object.frames = frames;
    object.mesh = &mesh;
    object.name = std::string(title);
    object.colour = options.baseColour
                        ? options.baseColour(motion.record().color, motion.record().transparency)
                        : kPlainGrey;
    const int body = addGltfObject(gltf, buffer, animation, object);
    tinygltf::Scene scene;
    scene.name = std::string(title);
    scene.nodes.push_back(body);
    gltf.scenes.push_back(scene);
    gltf.defaultScene = 0;
    if (!animation.channels.empty())
        gltf.animations.push_back(animation);

    const bool text = options.container == GltfContainer::kText;
    const fs::path binFile = fs::path(outputFile).replace_extension(".bin");
    const bool written =
        text ? writeGltfText(std::move(gltf), std::move(buffer.data()), outputFile, binFile)
             : writeGlb(gltf, buffer.data(), outputFile);
    if (!written)
        messages.showMessage(model::saveFailedMessage(outputFile));
    return written;
}

} // namespace kv::exp
