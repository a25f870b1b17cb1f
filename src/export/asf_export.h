#pragma once
/// Export of a motion file to an Acclaim skeleton (.asf) and motion (.amc)
/// pair with the joints, names, axis mapping and 30 frames per second of the
/// BVH export: bones N.CG, N.CG.XRot, N.CG.ZRot, then per effector N.E,
/// N.E.XRot, N.E.ZRot (or one bone N.Sound.E), depth first.

#include "common/ports/messages.h"
#include "export/export_motion.h"
#include "export/export_options.h"

#include <filesystem>
#include <string_view>

namespace kv::exp {

/// Reads `motionFile` into the camera slot of `slot` and writes `asfFile` and
/// `amcFile`, naming the bones after `title` (the motion file's name without
/// folder and extension). Each file is written beside its target and renamed
/// into place, the motion first, so that a failure leaves no new skeleton
/// without its motion: when the motion cannot be read (the reader's messages
/// apply) neither file is written, and a file that cannot be written shows
/// "\"<name>\" could not be saved.". The camera slot is an empty camera
/// afterwards in every case.
bool exportAsfAmc(const std::filesystem::path& motionFile, const std::filesystem::path& asfFile,
                  const std::filesystem::path& amcFile, std::string_view title,
                  const ExportOptions& options, const ExportSlot& slot, MessagePort& messages);

} // namespace kv::exp
