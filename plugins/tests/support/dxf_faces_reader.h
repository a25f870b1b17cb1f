#pragma once
/// Reads back the DXF text that the saver writes, checking its fixed layout
/// line by line (header, 3DFACE entities on layer "Kestrovane", trailer).

#include <array>
#include <string>
#include <vector>

namespace kv::plugtest {

/// Twelve values in file order: x, y, z of corners 1 to 4.
using DxfFace = std::array<double, 12>;

struct DxfRead {
    std::vector<DxfFace> faces;
    std::string error; ///< first deviation from the layout, "" when none
};

DxfRead readDxfFaces(const std::string& text);

} // namespace kv::plugtest
