#pragma once
/// What a glTF export takes from the application: the object palette as base
/// colours. The desktop program and the command-line tool export alike.

#include "export/gltf_export.h"

namespace kv::app {

/// Options of a glTF export in `container` form, the object's colour taken
/// from the palette the camera view draws it with (diffuse colour, with the
/// transparency's alpha).
exp::GltfOptions gltfExportOptions(exp::GltfContainer container);

} // namespace kv::app
