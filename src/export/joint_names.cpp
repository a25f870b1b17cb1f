#include "export/joint_names.h"

#include "common/file_names.h"
#include "model/object_model.h"

namespace kv::exp {

std::string motionTitle(const std::filesystem::path& motionFile) {
    return utf8Name(motionFile.stem());
}

std::string centreOfGravityName(std::string_view title) {
    return std::string(title) + ".CG";
}

std::string effectorJointName(std::string_view title, const model::EffectorRecord& effector) {
    std::string name(title);
    name += isSoundEffector(effector) ? ".Sound." : ".";
    name += model::recordName(effector.name);
    return name;
}

} // namespace kv::exp
