#include "export/gltf_export.h"

#include "common/atomic_file.h"
#include "common/unit_constants.h"
#include "export/effector_tree.h"
#include "export/effector_values.h"
#include "export/gltf_pose.h"
#include "export/joint_names.h"
#include "model/driver_codes.h"
#include "model/motion_file.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <sstream>
#include <system_error>
#include <tiny_gltf.h>
#include <unistd.h>
#include <vector>

namespace kv::exp {
namespace {

namespace fs = std::filesystem;

using Vec3f = std::array<float, 3>;

/// Base colour when the caller gives no palette: the Gray of the palette.
constexpr std::array<float, 4> kPlainGrey{0.6f, 0.6f, 0.6f, 1.0f};

/// The mesh of the motion file in glTF's axes (metres), three corners per
/// triangle with the triangle's normal on each.
struct MeshData {
    std::vector<Vec3f> positions;
    std::vector<Vec3f> normals;

    void addTriangle(const Vec3f& a, const Vec3f& b, const Vec3f& c) {
        const double ux = b[0] - a[0], uy = b[1] - a[1], uz = b[2] - a[2];
        const double vx = c[0] - a[0], vy = c[1] - a[1], vz = c[2] - a[2];
        const double nx = uy * vz - uz * vy, ny = uz * vx - ux * vz, nz = ux * vy - uy * vx;
        const double length = std::sqrt(nx * nx + ny * ny + nz * nz);
        // A triangle without area draws nothing and has no normal to give.
        if (!(length > 1e-12) || !std::isfinite(length))
            return;
        const Vec3f n{static_cast<float>(nx / length), static_cast<float>(ny / length),
                      static_cast<float>(nz / length)};
        for (const Vec3f* p : {&a, &b, &c}) {
            positions.push_back(*p);
            normals.push_back(n);
        }
    }

    /// One stored face: four corners x, y, z (metres, body axes), the fourth
    /// repeating the third for a triangle.
    void addFace(const std::array<double, 12>& f) {
        std::array<Vec3f, 4> corner{};
        for (std::size_t k = 0; k < 4; ++k) {
            const auto g = toGltfAxes(f[3 * k], f[3 * k + 1], f[3 * k + 2]);
            corner[k] = {static_cast<float>(g[0]), static_cast<float>(g[1]),
                         static_cast<float>(g[2])};
        }
        addTriangle(corner[0], corner[1], corner[2]);
        if (corner[3] != corner[2])
            addTriangle(corner[0], corner[2], corner[3]);
    }
};

/// The six values of an effector as geometry: the degrees of freedom that
/// carry sound data (skid indicator, tachometer) stay at rest, as they do in
/// the simulator's own effector tree.
std::array<float, 6> poseValues(const model::EffectorRecord& e, const model::MotionFrame& f) {
    std::array<float, 6> v = effectorValues(e, f);
    for (std::size_t i = 0; i < v.size(); ++i) {
        const int code = e.drivers[i];
        if (model::isSkidIndicatorCode(code) || code == model::kDriverTachometer)
            v[i] = e.offsets[i];
    }
    return v;
}

GltfPose bodyPose(const model::MotionFrame& f) {
    using namespace model;
    return toGltfPose(f[kFrameNorth], f[kFrameEast], f[kFrameDown], f[kFrameRoll], f[kFramePitch],
                      f[kFrameYaw]);
}

GltfPose effectorPose(const model::EffectorRecord& e, const model::MotionFrame& f) {
    const std::array<float, 6> v = poseValues(e, f);
    return toGltfPose(v[0] * kMetresPerFootD, v[1] * kMetresPerFootD, v[2] * kMetresPerFootD, v[3],
                      v[4], v[5]);
}

bool finiteFrame(const model::MotionFrame& f) {
    return std::all_of(f.begin(), f.end(), [](float v) { return std::isfinite(v); });
}

/// Builds the buffer, its views and accessors.
class BufferBuilder {
  public:
    explicit BufferBuilder(tinygltf::Model& model) : model_(model) {
        model_.buffers.emplace_back();
    }

    /// An accessor of `count` float elements of `type` (TINYGLTF_TYPE_*),
    /// `components` floats each, in a view of its own.
    int addFloats(const std::vector<float>& values, int type, int components, int target,
                  bool withBounds) {
        auto& data = model_.buffers[0].data;
        tinygltf::BufferView view;
        view.buffer = 0;
        view.byteOffset = data.size();
        view.byteLength = values.size() * sizeof(float);
        if (target != 0)
            view.target = target;
        const auto* bytes = reinterpret_cast<const unsigned char*>(values.data());
        // glTF's binary data is little-endian, as this machine's floats are.
        data.insert(data.end(), bytes, bytes + view.byteLength);
        model_.bufferViews.push_back(view);

        tinygltf::Accessor accessor;
        accessor.bufferView = static_cast<int>(model_.bufferViews.size()) - 1;
        accessor.componentType = TINYGLTF_COMPONENT_TYPE_FLOAT;
        accessor.type = type;
        accessor.count = values.size() / static_cast<std::size_t>(components);
        if (withBounds) {
            accessor.minValues.assign(static_cast<std::size_t>(components),
                                      std::numeric_limits<double>::max());
            accessor.maxValues.assign(static_cast<std::size_t>(components),
                                      std::numeric_limits<double>::lowest());
            for (std::size_t i = 0; i < values.size(); ++i) {
                const std::size_t c = i % static_cast<std::size_t>(components);
                accessor.minValues[c] = std::min(accessor.minValues[c], double{values[i]});
                accessor.maxValues[c] = std::max(accessor.maxValues[c], double{values[i]});
            }
        }
        model_.accessors.push_back(accessor);
        return static_cast<int>(model_.accessors.size()) - 1;
    }

  private:
    tinygltf::Model& model_;
};

std::vector<float> flatten(const std::vector<Vec3f>& v) {
    std::vector<float> out;
    out.reserve(v.size() * 3);
    for (const Vec3f& p : v)
        out.insert(out.end(), p.begin(), p.end());
    return out;
}

void setRest(tinygltf::Node& node, const GltfPose& pose) {
    node.translation.assign(pose.translation.begin(), pose.translation.end());
    node.rotation.assign(pose.rotation.begin(), pose.rotation.end());
}

/// The keys of one node: translation and rotation at each kept frame.
struct NodeTrack {
    int node = -1;
    std::vector<float> translations;
    std::vector<float> rotations;
    bool moves = false;

    void add(const GltfPose& pose) {
        GltfQuaternion q = pose.rotation;
        if (!rotations.empty()) {
            const std::size_t k = rotations.size() - 4;
            q = alignedWith(q,
                            {rotations[k], rotations[k + 1], rotations[k + 2], rotations[k + 3]});
        }
        const std::array<float, 3> t{static_cast<float>(pose.translation[0]),
                                     static_cast<float>(pose.translation[1]),
                                     static_cast<float>(pose.translation[2])};
        const std::array<float, 4> r{static_cast<float>(q[0]), static_cast<float>(q[1]),
                                     static_cast<float>(q[2]), static_cast<float>(q[3])};
        if (!translations.empty()) {
            moves = moves || !std::equal(t.begin(), t.end(), translations.begin()) ||
                    !std::equal(r.begin(), r.end(), rotations.begin());
        }
        translations.insert(translations.end(), t.begin(), t.end());
        rotations.insert(rotations.end(), r.begin(), r.end());
    }
};

void addChannels(BufferBuilder& buffer, tinygltf::Animation& animation, int times,
                 const NodeTrack& track) {
    const int translations = buffer.addFloats(track.translations, TINYGLTF_TYPE_VEC3, 3, 0, false);
    const int rotations = buffer.addFloats(track.rotations, TINYGLTF_TYPE_VEC4, 4, 0, false);
    for (const auto& [output, path] :
         {std::pair{translations, "translation"}, std::pair{rotations, "rotation"}}) {
        tinygltf::AnimationSampler sampler;
        sampler.input = times;
        sampler.output = output;
        sampler.interpolation = "LINEAR";
        animation.samplers.push_back(sampler);
        tinygltf::AnimationChannel channel;
        channel.sampler = static_cast<int>(animation.samplers.size()) - 1;
        channel.target_node = track.node;
        channel.target_path = path;
        animation.channels.push_back(channel);
    }
}

/// The whole glTF model of a read motion.
tinygltf::Model buildModel(const model::ObjectRecord& record,
                           std::span<const model::MotionFrame> frames, const MeshData& mesh,
                           std::string_view title, const GltfOptions& options) {
    tinygltf::Model out;
    out.asset.version = "2.0";
    out.asset.generator = options.generator;
    BufferBuilder buffer(out);
    const std::string name(title);

    // Frames keyed: those with finite values and a time after the previous
    // key's, since glTF needs strictly increasing key times.
    std::vector<const model::MotionFrame*> keys;
    for (const model::MotionFrame& f : frames) {
        if (!finiteFrame(f))
            continue;
        if (!keys.empty() && !(f[model::kFrameTime] > (*keys.back())[model::kFrameTime]))
            continue;
        keys.push_back(&f);
    }

    tinygltf::Node body;
    body.name = centreOfGravityName(title);
    out.nodes.push_back(body);
    constexpr int kBodyNode = 0;

    if (!mesh.positions.empty()) {
        tinygltf::Material material;
        material.name = name;
        const std::array<float, 4> colour =
            options.baseColour ? options.baseColour(record.color, record.transparency) : kPlainGrey;
        material.pbrMetallicRoughness.baseColorFactor.assign(colour.begin(), colour.end());
        material.pbrMetallicRoughness.metallicFactor = 0.0;
        material.pbrMetallicRoughness.roughnessFactor = 0.8;
        if (colour[3] < 1.0f)
            material.alphaMode = "BLEND";
        // The stored faces have no agreed front side.
        material.doubleSided = true;
        out.materials.push_back(material);

        tinygltf::Primitive primitive;
        primitive.attributes["POSITION"] = buffer.addFloats(
            flatten(mesh.positions), TINYGLTF_TYPE_VEC3, 3, TINYGLTF_TARGET_ARRAY_BUFFER, true);
        primitive.attributes["NORMAL"] = buffer.addFloats(flatten(mesh.normals), TINYGLTF_TYPE_VEC3,
                                                          3, TINYGLTF_TARGET_ARRAY_BUFFER, false);
        primitive.material = 0;
        primitive.mode = TINYGLTF_MODE_TRIANGLES;
        tinygltf::Mesh gltfMesh;
        gltfMesh.name = name;
        gltfMesh.primitives.push_back(primitive);
        out.meshes.push_back(gltfMesh);

        tinygltf::Node meshNode;
        meshNode.name = name;
        meshNode.mesh = 0;
        out.nodes.push_back(meshNode);
        out.nodes[kBodyNode].children.push_back(static_cast<int>(out.nodes.size()) - 1);
    }

    // Effector nodes in the export order; a node's parent is the body or the
    // node of its parent effector.
    const EffectorTree tree = buildEffectorTree(record);
    std::array<int, model::kMaxEffectors> nodeOf{};
    nodeOf.fill(-1);
    for (int index : tree.order) {
        tinygltf::Node node;
        node.name = effectorJointName(title, record.effectors[static_cast<std::size_t>(index)]);
        out.nodes.push_back(node);
        nodeOf[static_cast<std::size_t>(index)] = static_cast<int>(out.nodes.size()) - 1;
    }
    for (int root : tree.roots)
        out.nodes[kBodyNode].children.push_back(nodeOf[static_cast<std::size_t>(root)]);
    for (int index : tree.order) {
        for (int child : tree.children[static_cast<std::size_t>(index)]) {
            out.nodes[static_cast<std::size_t>(nodeOf[static_cast<std::size_t>(index)])]
                .children.push_back(nodeOf[static_cast<std::size_t>(child)]);
        }
    }

    tinygltf::Scene scene;
    scene.name = name;
    scene.nodes.push_back(kBodyNode);
    out.scenes.push_back(scene);
    out.defaultScene = 0;

    if (keys.empty())
        return out;

    // Rest pose: the first key.
    const model::MotionFrame& first = *keys.front();
    setRest(out.nodes[kBodyNode], bodyPose(first));
    for (int index : tree.order) {
        setRest(out.nodes[static_cast<std::size_t>(nodeOf[static_cast<std::size_t>(index)])],
                effectorPose(record.effectors[static_cast<std::size_t>(index)], first));
    }

    std::vector<NodeTrack> tracks;
    tracks.push_back({kBodyNode, {}, {}, false});
    for (int index : tree.order)
        tracks.push_back({nodeOf[static_cast<std::size_t>(index)], {}, {}, false});
    std::vector<float> times;
    for (const model::MotionFrame* f : keys) {
        times.push_back((*f)[model::kFrameTime]);
        tracks[0].add(bodyPose(*f));
        for (std::size_t k = 0; k < tree.order.size(); ++k) {
            const auto& e = record.effectors[static_cast<std::size_t>(tree.order[k])];
            tracks[k + 1].add(effectorPose(e, *f));
        }
    }

    tinygltf::Animation animation;
    animation.name = name;
    const int timeAccessor = buffer.addFloats(times, TINYGLTF_TYPE_SCALAR, 1, 0, true);
    // The body is always keyed, so every file has its animation; an effector
    // only when it moves.
    tracks[0].moves = true;
    for (const NodeTrack& track : tracks) {
        if (track.moves)
            addChannels(buffer, animation, timeAccessor, track);
    }
    out.animations.push_back(animation);
    return out;
}

bool writeBinary(const tinygltf::Model& model, const fs::path& outputFile) {
    tinygltf::TinyGLTF writer;
    std::ostringstream bytes;
    if (!writer.WriteGltfSceneToStream(&model, bytes, false, true))
        return false;
    const std::string data = bytes.str();
    return writeFileAtomically(outputFile, [&](std::FILE* out) {
        return std::fwrite(data.data(), 1, data.size(), out) == data.size();
    });
}

/// The .gltf and its .bin: written whole into a private folder beside the
/// target, then each renamed into place, the buffer first so the text never
/// names a buffer that is not there.
bool writeText(tinygltf::Model model, const fs::path& outputFile, const fs::path& binFile) {
    model.buffers[0].uri = binFile.filename().string();
    const fs::path folder = outputFile.has_parent_path() ? outputFile.parent_path() : fs::path(".");
    std::string pattern = (folder / ("." + outputFile.filename().string() + ".XXXXXX")).string();
    if (::mkdtemp(pattern.data()) == nullptr)
        return false;
    const fs::path scratch = pattern;
    const fs::path scratchText = scratch / outputFile.filename();
    const fs::path scratchBin = scratch / binFile.filename();
    tinygltf::TinyGLTF writer;
    bool ok = writer.WriteGltfSceneToFile(&model, scratchText.string(), false, false, true, false);
    std::error_code ec;
    ok = ok && fs::is_regular_file(scratchBin, ec) && fs::is_regular_file(scratchText, ec);
    if (ok) {
        fs::rename(scratchBin, binFile, ec);
        ok = !ec;
    }
    if (ok) {
        fs::rename(scratchText, outputFile, ec);
        ok = !ec;
    }
    fs::remove_all(scratch, ec);
    return ok;
}

} // namespace

GltfContainer gltfContainerFor(const fs::path& outputFile) {
    std::string ext = outputFile.extension().string();
    std::transform(ext.begin(), ext.end(), ext.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return ext == ".gltf" ? GltfContainer::kText : GltfContainer::kBinary;
}

bool exportGltf(const fs::path& motionFile, const fs::path& outputFile, std::string_view title,
                const GltfOptions& options, const ExportSlot& slot, MessagePort& messages) {
    // The reader hands the geometry to this mesh instead of the camera's.
    MeshData mesh;
    ExportSlot reading = slot;
    reading.camera.geometry.addFace = [&mesh](const std::array<double, 12>& face) {
        mesh.addFace(face);
        return 1;
    };
    ExportMotion motion(motionFile, reading, messages);
    if (!motion.ok())
        return false;
    const model::MotionStore& store = *slot.store;
    const int last = store.lastFrame(slot.camera.slot);
    const auto frames =
        store.frames(slot.camera.slot).first(static_cast<std::size_t>(std::max(last + 1, 0)));
    const tinygltf::Model gltf = buildModel(motion.record(), frames, mesh, title, options);

    const bool text = options.container == GltfContainer::kText;
    const fs::path binFile = fs::path(outputFile).replace_extension(".bin");
    const bool written =
        text ? writeText(gltf, outputFile, binFile) : writeBinary(gltf, outputFile);
    if (!written)
        messages.showMessage(model::saveFailedMessage(outputFile));
    return written;
}

} // namespace kv::exp
