#include "export/bvh_export.h"

#include "common/atomic_file.h"
#include "export/axis_mapping.h"
#include "export/effector_tree.h"
#include "export/effector_values.h"
#include "export/joint_names.h"
#include "export/number_format.h"

#include <cstdio>
#include <string>

namespace kv::exp {
namespace {

/// Channels of the three centre-of-gravity joints.
constexpr int kCentreOfGravityChannels = 12;
/// Channels a Sound effector adds (one joint).
constexpr int kSoundChannels = 6;
/// Channels any other effector adds (three joints).
constexpr int kEffectorChannels = 12;

constexpr const char* kChannels6 =
    "CHANNELS 6 Xposition Yposition Zposition Zrotation Xrotation Yrotation\n";
constexpr const char* kSoundChannels6 =
    "CHANNELS 6 Xposition Yposition Zposition Xrotation Yrotation Zrotation\n";
constexpr const char* kChannels3 = "CHANNELS 3 Zrotation Xrotation Yrotation\n";
constexpr const char* kOffset = "OFFSET\t0.0\t0.0\t0.0\n";

struct HierarchyWriter {
    const model::ObjectRecord& record;
    const EffectorTree& tree;
    std::string_view title;
    std::string out;

    /// Writes effector `index` at `depth` tabs with its subtree.
    void effector(int index, int depth) {
        const model::EffectorRecord& e = record.effectors[static_cast<std::size_t>(index)];
        const std::string name = effectorJointName(title, e);
        const std::string i(static_cast<std::size_t>(depth), '\t');
        const auto& children = tree.children[static_cast<std::size_t>(index)];
        if (isSoundEffector(e)) {
            out += i + "ROOT " + name + "\n";
            out += i + "{\n";
            out += i + "\t" + kOffset;
            out += i + "\t" + kSoundChannels6;
            for (int child : children) {
                effector(child, depth + 1);
            }
            out += i + "}\n";
            return;
        }
        out += i + "ROOT " + name + "\n";
        out += i + "{\n";
        out += i + "\t" + kOffset;
        out += i + "\t" + kChannels6;
        out += i + "\tROOT " + name + ".XRot\n";
        out += i + "\t{\n";
        out += i + "\t\t" + kOffset;
        out += i + "\t\t" + kChannels3;
        out += i + "\t\tROOT " + name + ".ZRot\n";
        out += i + "\t\t{\n";
        out += i + "\t\t\t" + kOffset;
        out += i + "\t\t\t" + kChannels3;
        for (int child : children) {
            effector(child, depth + 3);
        }
        out += i + "\t\t}\n";
        out += i + "\t}\n";
        out += i + "}\n";
    }

    void write() {
        const std::string cg = centreOfGravityName(title);
        out += "HIERARCHY\n";
        out += "ROOT " + cg + "\n";
        out += "{\n";
        out += std::string("\t") + kOffset;
        out += std::string("\t") + kChannels6;
        out += "\tROOT " + cg + ".XRot\n";
        out += "\t{\n";
        out += std::string("\t\t") + kOffset;
        out += std::string("\t\t") + kChannels3;
        out += "\t\tROOT " + cg + ".ZRot\n";
        out += "\t\t{\n";
        out += std::string("\t\t\t") + kOffset;
        out += std::string("\t\t\t") + kChannels3;
        for (int root : tree.roots) {
            effector(root, 3);
        }
        out += "\t\t}\n";
        out += "\t}\n";
        out += "}\n";
    }
};

int channelCount(const model::ObjectRecord& record, const EffectorTree& tree) {
    int channels = kCentreOfGravityChannels;
    for (int index : tree.order) {
        channels += isSoundEffector(record.effectors[static_cast<std::size_t>(index)])
                        ? kSoundChannels
                        : kEffectorChannels;
    }
    return channels;
}

void appendValue(std::string& line, float value) {
    appendG(line, static_cast<double>(value));
    line += '\t';
}

/// The twelve channels of a three-joint body, in the order the hierarchy
/// declares them: Z, X, Y rotation on each joint after the position.
void appendJointChain(std::string& line, const JointChannels& c) {
    appendValue(line, c.xPosition);
    appendValue(line, c.yPosition);
    appendValue(line, c.zPosition);
    line += "0.0\t0.0\t";
    appendValue(line, c.yRotation);
    line += "0.0\t";
    appendValue(line, c.xRotation);
    line += "0.0\t";
    appendValue(line, c.zRotation);
    line += "0.0\t0.0\t";
}

void appendFrame(std::string& line, const model::MotionFrame& frame,
                 const model::ObjectRecord& record, const EffectorTree& tree,
                 const ExportOptions& options) {
    appendJointChain(line, mapCentreOfGravity(frame, options));
    for (int index : tree.order) {
        const model::EffectorRecord& e = record.effectors[static_cast<std::size_t>(index)];
        const std::array<float, 6> values = effectorValues(e, frame);
        if (isSoundEffector(e)) {
            for (float v : values) {
                appendValue(line, v);
            }
        } else {
            appendJointChain(line, mapEffector(values, options));
        }
    }
    line += '\n';
}

bool put(std::FILE* out, const std::string& text) {
    return std::fwrite(text.data(), 1, text.size(), out) == text.size();
}

} // namespace

bool exportBvh(const std::filesystem::path& motionFile, const std::filesystem::path& outputFile,
               std::string_view title, const ExportOptions& options, const ExportSlot& slot,
               MessagePort& messages) {
    ExportMotion motion(motionFile, slot, messages);
    if (!motion.ok()) {
        return false;
    }
    const model::ObjectRecord& record = motion.record();
    const EffectorTree tree = buildEffectorTree(record);
    const int channels = channelCount(record, tree);
    const int frames = motion.frameCount();

    const bool written = writeFileAtomically(outputFile, [&](std::FILE* out) {
        HierarchyWriter hierarchy{record, tree, title, {}};
        hierarchy.write();
        std::string text = std::move(hierarchy.out);
        text += "MOTION\n";
        text += "Frames:\t" + std::to_string(frames) + "\n";
        text += "Frame Time:\t";
        appendG(text, 1.0 / kExportFrameRate);
        text += "\n";
        if (!put(out, text)) {
            return false;
        }
        std::string line;
        for (int m = 0; m < frames; ++m) {
            line.clear();
            if (m == 0) {
                // The first frame is the rest pose: every channel zero.
                for (int c = 0; c < channels; ++c) {
                    line += "0.0\t";
                }
                line += '\n';
            } else {
                appendFrame(line, motion.sample(m), record, tree, options);
            }
            if (!put(out, line)) {
                return false;
            }
        }
        return put(out, "\n");
    });
    if (!written) {
        messages.showMessage(model::saveFailedMessage(outputFile));
    }
    return written;
}

} // namespace kv::exp
