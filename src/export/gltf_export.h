#pragma once
/// Export of a motion file to glTF 2.0 for today's animation tools: the
/// vehicle's mesh, one node per effector parented like the effector tree and
/// named as in the BVH export, and one animation that moves the body and every
/// effector whose pose changes, keyed at the motion's own frame times (no
/// resampling) with linear interpolation. Metres and glTF's axes (+Y up, +Z
/// forward), whatever the working units.

#include "common/ports/messages.h"
#include "export/export_motion.h"

#include <array>
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>

namespace kv::exp {

/// How the file is laid out: one binary .glb, or a .gltf text file with its
/// buffer beside it in a .bin file of the same name.
enum class GltfContainer { kBinary, kText };

/// .gltf (any case) is text; anything else is binary.
GltfContainer gltfContainerFor(const std::filesystem::path& outputFile);

struct GltfOptions {
    GltfContainer container = GltfContainer::kBinary;
    /// Linear RGBA base colour of the object's colour and transparency codes;
    /// the exporter sits below the palette, so the caller hands it over. A
    /// plain grey when empty.
    std::function<std::array<float, 4>(int colour, int transparency)> baseColour;
    /// Written as the asset's generator.
    std::string generator = "Kestrovane";
};

/// Reads `motionFile` into the camera slot of `slot` and writes `outputFile`
/// (and, for the text form, its .bin beside it), naming the nodes after
/// `title`. Every file is written complete beside its target and renamed into
/// place: when the motion cannot be read (the reader's messages apply) or an
/// output cannot be written ("\"<name>\" could not be saved."), previous files
/// of those names stay as they were. The camera slot is an empty camera
/// afterwards in every case.
bool exportGltf(const std::filesystem::path& motionFile, const std::filesystem::path& outputFile,
                std::string_view title, const GltfOptions& options, const ExportSlot& slot,
                MessagePort& messages);

} // namespace kv::exp
