#pragma once
/// Names of the exported joints (BVH) and bones (ASF/AMC). N is the motion
/// file's title: the centre of gravity is N.CG with N.CG.XRot and N.CG.ZRot
/// below it; an effector E is N.E (with N.E.XRot and N.E.ZRot), or N.Sound.E
/// for a Sound effector, which has a single joint.

#include "model/object_record.h"

#include <filesystem>
#include <string>
#include <string_view>

namespace kv::exp {

/// The title N of a motion file: its name without folder and extension.
std::string motionTitle(const std::filesystem::path& motionFile);

/// "N.CG".
std::string centreOfGravityName(std::string_view title);

/// "N.E", or "N.Sound.E" for a Sound effector.
std::string effectorJointName(std::string_view title, const model::EffectorRecord& effector);

inline bool isSoundEffector(const model::EffectorRecord& effector) {
    return effector.kind == model::kEffectorSound;
}

} // namespace kv::exp
