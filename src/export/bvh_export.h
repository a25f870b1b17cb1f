#pragma once
/// Export of a motion file to BioVision BVH. The centre of gravity becomes a
/// chain of three joints (position and yaw, then pitch, then roll, each on its
/// own joint so a target package cannot mix the rotation order up) and every
/// effector a joint, or a chain of three, below it, sampled at 30 frames per
/// second. Every joint, nested or not, is introduced with the word ROOT.

#include "common/ports/messages.h"
#include "export/export_motion.h"
#include "export/export_options.h"

#include <filesystem>
#include <string_view>

namespace kv::exp {

/// Reads `motionFile` into the camera slot of `slot` and writes the BVH file
/// `outputFile`, naming the joints after `title` (the motion file's name
/// without folder and extension). The output is written beside the target
/// and renamed into place: when the motion cannot be read (the reader's
/// messages apply) or the output cannot be written ("\"<name>\" could not be
/// saved."), no new output is left and a previous file of that name stays as
/// it was. The camera slot is an empty camera afterwards in every case.
bool exportBvh(const std::filesystem::path& motionFile, const std::filesystem::path& outputFile,
               std::string_view title, const ExportOptions& options, const ExportSlot& slot,
               MessagePort& messages);

} // namespace kv::exp
