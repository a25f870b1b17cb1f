#include "export/asf_export.h"

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

struct SkeletonWriter {
    const model::ObjectRecord& record;
    const EffectorTree& tree;
    std::string_view title;
    std::string out;
    int nextId = 1;

    void bone(const std::string& name, bool sixDegrees) {
        out += "   begin\n";
        out += "      id " + std::to_string(nextId++) + "\n";
        out += "      name " + name + "\n";
        out += "      direction 0.0 1.0 0.0\n";
        out += "      length 0.0\n";
        out += "      axis 0.0 0.0 0.0 xyz\n";
        out += sixDegrees ? "      dof tx ty tz rx ry rz\n" : "      dof rx ry rz\n";
        out += "      limits (-inf inf)\n";
        for (int d = 1; d < (sixDegrees ? 6 : 3); ++d) {
            out += "             (-inf inf)\n";
        }
        out += "   end\n";
    }

    void bones() {
        const std::string cg = centreOfGravityName(title);
        bone(cg, true);
        bone(cg + ".XRot", false);
        bone(cg + ".ZRot", false);
        for (int index : tree.order) {
            const model::EffectorRecord& e = record.effectors[static_cast<std::size_t>(index)];
            const std::string name = effectorJointName(title, e);
            bone(name, true);
            if (!isSoundEffector(e)) {
                bone(name + ".XRot", false);
                bone(name + ".ZRot", false);
            }
        }
    }

    /// The rest of the line naming the parent, then the lines of the subtree.
    void subtree(int index) {
        const model::EffectorRecord& e = record.effectors[static_cast<std::size_t>(index)];
        const std::string name = effectorJointName(title, e);
        out += name + "\n";
        std::string last = name;
        if (!isSoundEffector(e)) {
            out += "      " + name + " " + name + ".XRot\n";
            out += "      " + name + ".XRot " + name + ".ZRot\n";
            last = name + ".ZRot";
        }
        for (int child : tree.children[static_cast<std::size_t>(index)]) {
            out += "      " + last + " ";
            subtree(child);
        }
    }

    void write(const std::string& unitName) {
        const std::string cg = centreOfGravityName(title);
        out += "# ASF file created by Kestrovane.\n";
        out += "# Lengths expressed in " + unitName + ".\n";
        out += "#\n";
        out += ":version 1.10\n";
        out += ":name " + std::string(title) + "\n";
        out += ":units\n";
        out += "   mass 1.0\n";
        out += "   length 1.0\n";
        out += "   angle deg\n";
        out += ":documentation\n";
        out += ":root\n";
        out += "   axis xyz\n";
        out += "   order tx ty tz ry rx rz\n";
        out += "   position 0.0 0.0 0.0\n";
        out += "   orientation 0.0 0.0 0.0\n";
        out += ":bonedata\n";
        bones();
        out += ":hierarchy\n";
        out += "   begin\n";
        out += "      root " + cg + "\n";
        out += "      " + cg + " " + cg + ".XRot\n";
        out += "      " + cg + ".XRot " + cg + ".ZRot\n";
        for (int root : tree.roots) {
            out += "      " + cg + ".ZRot ";
            subtree(root);
        }
        out += "   end\n";
    }
};

void appendValue(std::string& line, float value) {
    line += ' ';
    appendG(line, static_cast<double>(value));
}

/// The three lines of a three-bone body named `name`; zeros on the first frame.
void appendBoneChain(std::string& text, const std::string& name, const JointChannels* c) {
    if (c == nullptr) {
        text += name + " 0.0 0.0 0.0 0.0 0.0 0.0\n";
        text += name + ".XRot 0.0 0.0 0.0\n";
        text += name + ".ZRot 0.0 0.0 0.0\n";
        return;
    }
    text += name;
    appendValue(text, c->xPosition);
    appendValue(text, c->yPosition);
    appendValue(text, c->zPosition);
    text += " 0.0";
    appendValue(text, c->yRotation);
    text += " 0.0\n";
    text += name + ".XRot";
    appendValue(text, c->xRotation);
    text += " 0.0 0.0\n";
    text += name + ".ZRot 0.0 0.0";
    appendValue(text, c->zRotation);
    text += "\n";
}

/// Frame `h` (0-based) of the motion; `frame` is null for the first, rest frame.
void appendAmcFrame(std::string& text, int h, const model::MotionFrame* frame,
                    const model::ObjectRecord& record, const EffectorTree& tree,
                    std::string_view title, const ExportOptions& options) {
    text += std::to_string(h + 1) + "\n";
    text += "root 0.0 0.0 0.0 0.0 0.0 0.0\n";
    if (frame == nullptr) {
        appendBoneChain(text, centreOfGravityName(title), nullptr);
    } else {
        const JointChannels cg = mapCentreOfGravity(*frame, options);
        appendBoneChain(text, centreOfGravityName(title), &cg);
    }
    for (int index : tree.order) {
        const model::EffectorRecord& e = record.effectors[static_cast<std::size_t>(index)];
        const std::string name = effectorJointName(title, e);
        const std::array<float, 6> values =
            frame != nullptr ? effectorValues(e, *frame) : std::array<float, 6>{};
        if (isSoundEffector(e)) {
            text += name;
            for (float v : values) {
                appendValue(text, v);
            }
            text += "\n";
        } else if (frame == nullptr) {
            appendBoneChain(text, name, nullptr);
        } else {
            const JointChannels c = mapEffector(values, options);
            appendBoneChain(text, name, &c);
        }
    }
}

bool put(std::FILE* out, const std::string& text) {
    return std::fwrite(text.data(), 1, text.size(), out) == text.size();
}

} // namespace

bool exportAsfAmc(const std::filesystem::path& motionFile, const std::filesystem::path& asfFile,
                  const std::filesystem::path& amcFile, std::string_view title,
                  const ExportOptions& options, const ExportSlot& slot, MessagePort& messages) {
    ExportMotion motion(motionFile, slot, messages);
    if (!motion.ok()) {
        return false;
    }
    const model::ObjectRecord& record = motion.record();
    const EffectorTree tree = buildEffectorTree(record);
    const int frames = motion.frameCount();

    SkeletonWriter skeleton{record, tree, title, {}};
    skeleton.write(options.lengthUnitName);
    // The skeleton and its motion are replaced together: a pair never mixes
    // a new file with an old one.
    const auto writeAmc = [&](std::FILE* out) {
        std::string text;
        text += "# AMC file created by Kestrovane.\n";
        text += "# Lengths expressed in " + options.lengthUnitName + ".\n";
        text += "# " + std::to_string(kExportFrameRate) + " frames per second.\n";
        text += "# " + std::to_string(frames) + " frames.\n";
        text += "#\n";
        text += ":fully-specified\n";
        text += ":degrees\n";
        if (!put(out, text)) {
            return false;
        }
        for (int h = 0; h < frames; ++h) {
            text.clear();
            if (h == 0) {
                appendAmcFrame(text, h, nullptr, record, tree, title, options);
            } else {
                const model::MotionFrame frame = motion.sample(h);
                appendAmcFrame(text, h, &frame, record, tree, title, options);
            }
            if (!put(out, text)) {
                return false;
            }
        }
        return true;
    };
    const bool written = writeFilesAtomically(
        {{amcFile, writeAmc}, {asfFile, [&](std::FILE* out) { return put(out, skeleton.out); }}});
    if (!written) {
        messages.showMessage(model::saveFailedMessage(amcFile));
    }
    return written;
}

} // namespace kv::exp
