#include "export/gltf_buffer.h"

#include "common/atomic_file.h"
#include "common/file_names.h"
#include "common/private_folders.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstring>
#include <limits>
#include <sstream>
#include <string>
#include <system_error>

namespace kv::exp {
namespace {

namespace fs = std::filesystem;

constexpr std::uint32_t kGlbMagic = 0x46546C67; // "glTF"
constexpr std::uint32_t kGlbVersion = 2;
constexpr std::uint32_t kJsonChunk = 0x4E4F534A;   // "JSON"
constexpr std::uint32_t kBinaryChunk = 0x004E4942; // "BIN\0"

bool writeWord(std::FILE* out, std::uint32_t v) {
    // glTF's containers are little-endian, as this machine is.
    return std::fwrite(&v, sizeof v, 1, out) == 1;
}

std::size_t padded(std::size_t n) {
    return (n + 3) & ~std::size_t{3};
}

/// The model's JSON without a buffers array, then the one buffer of
/// `byteLength` bytes added, so the bytes never pass through tinygltf.
std::string jsonWithBuffer(const tinygltf::Model& model, std::size_t byteLength) {
    tinygltf::TinyGLTF writer;
    std::ostringstream text;
    if (!writer.WriteGltfSceneToStream(&model, text, false, false))
        return {};
    std::string json = text.str();
    while (!json.empty() && json.back() != '}')
        json.pop_back();
    if (json.empty())
        return {};
    if (byteLength > 0) {
        json.pop_back();
        json += ",\"buffers\":[{\"byteLength\":" + std::to_string(byteLength) + "}]}";
    }
    return json;
}

} // namespace

int GltfBuffer::addFloats(const float* values, std::size_t count, int type, int components,
                          int target, bool withBounds) {
    tinygltf::BufferView view;
    view.buffer = 0;
    view.byteOffset = data_.size();
    view.byteLength = count * sizeof(float);
    if (target != 0)
        view.target = target;
    const auto* bytes = reinterpret_cast<const unsigned char*>(values);
    // glTF's binary data is little-endian, as this machine's floats are.
    data_.insert(data_.end(), bytes, bytes + view.byteLength);
    model_.bufferViews.push_back(view);

    tinygltf::Accessor accessor;
    accessor.bufferView = static_cast<int>(model_.bufferViews.size()) - 1;
    accessor.componentType = TINYGLTF_COMPONENT_TYPE_FLOAT;
    accessor.type = type;
    accessor.count = count / static_cast<std::size_t>(components);
    if (withBounds) {
        accessor.minValues.assign(static_cast<std::size_t>(components),
                                  std::numeric_limits<double>::max());
        accessor.maxValues.assign(static_cast<std::size_t>(components),
                                  std::numeric_limits<double>::lowest());
        for (std::size_t i = 0; i < count; ++i) {
            const std::size_t c = i % static_cast<std::size_t>(components);
            accessor.minValues[c] = std::min(accessor.minValues[c], double{values[i]});
            accessor.maxValues[c] = std::max(accessor.maxValues[c], double{values[i]});
        }
    }
    model_.accessors.push_back(accessor);
    return static_cast<int>(model_.accessors.size()) - 1;
}

bool writeGlb(const tinygltf::Model& model, const std::vector<unsigned char>& data,
              const fs::path& outputFile) {
    const std::string json = jsonWithBuffer(model, data.size());
    if (json.empty())
        return false;
    const std::size_t jsonLength = padded(json.size());
    const std::size_t binLength = padded(data.size());
    std::size_t total = 12 + 8 + jsonLength;
    if (!data.empty())
        total += 8 + binLength;
    if (total > std::numeric_limits<std::uint32_t>::max())
        return false;
    return writeFileAtomically(outputFile, [&](std::FILE* out) {
        static constexpr std::array<char, 3> kSpaces{' ', ' ', ' '};
        static constexpr std::array<unsigned char, 3> kZeros{0, 0, 0};
        bool ok = writeWord(out, kGlbMagic) && writeWord(out, kGlbVersion) &&
                  writeWord(out, static_cast<std::uint32_t>(total)) &&
                  writeWord(out, static_cast<std::uint32_t>(jsonLength)) &&
                  writeWord(out, kJsonChunk) &&
                  std::fwrite(json.data(), 1, json.size(), out) == json.size() &&
                  std::fwrite(kSpaces.data(), 1, jsonLength - json.size(), out) ==
                      jsonLength - json.size();
        if (ok && !data.empty()) {
            ok = writeWord(out, static_cast<std::uint32_t>(binLength)) &&
                 writeWord(out, kBinaryChunk) &&
                 std::fwrite(data.data(), 1, data.size(), out) == data.size() &&
                 std::fwrite(kZeros.data(), 1, binLength - data.size(), out) ==
                     binLength - data.size();
        }
        return ok;
    });
}

bool writeGltfText(tinygltf::Model model, std::vector<unsigned char> data,
                   const fs::path& outputFile, const fs::path& binFile) {
    model.buffers.emplace_back();
    model.buffers[0].data = std::move(data);
    model.buffers[0].uri = utf8Name(binFile.filename());
    const fs::path folder = outputFile.has_parent_path() ? outputFile.parent_path() : fs::path(".");
    const auto made = makeUniqueFolder(
        utf8Name(folder / pathFromUtf8("." + utf8Name(outputFile.filename()) + ".")));
    if (!made)
        return false;
    const fs::path scratch = *made;
    const fs::path scratchText = scratch / outputFile.filename();
    const fs::path scratchBin = scratch / binFile.filename();
    tinygltf::TinyGLTF writer;
    bool ok = writer.WriteGltfSceneToFile(&model, utf8Name(scratchText), false, false, true, false);
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

} // namespace kv::exp
