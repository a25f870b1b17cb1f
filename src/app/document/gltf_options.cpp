#include "app/document/gltf_options.h"

#include "app/render/render_light.h"

namespace kv::app {

exp::GltfOptions gltfExportOptions(exp::GltfContainer container) {
    exp::GltfOptions options;
    options.container = container;
    options.baseColour = [](int colour, int transparency) {
        return objectMaterial(colour, transparency).diffuse;
    };
    return options;
}

} // namespace kv::app
