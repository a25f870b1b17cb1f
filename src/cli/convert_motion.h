#pragma once
/// The "bvh" and "asf" forms of kestrovane-cli convert: a motion file to a
/// BioVision BVH file, or to an Acclaim ASF/AMC pair.

#include <string>
#include <vector>

namespace kv::cli {

/// `convert bvh MOTION.kvm [-o OUT.bvh] [--left-hand] [--units U]`; `args` are
/// the words after "bvh". Returns the exit code.
int convertBvh(const std::vector<std::string>& args);

/// `convert asf MOTION.kvm [-o OUT.asf] [--left-hand] [--units U]`; the AMC
/// file takes the ASF file's path with the extension ".amc".
int convertAsf(const std::vector<std::string>& args);

} // namespace kv::cli
