#pragma once
/// The binary side of a glTF model: one buffer that the accessors' views cut
/// into, kept outside tinygltf's model so that a large scene is held once, and
/// the writers of the two containers (.glb, and .gltf with its .bin).

#include <cstdint>
#include <filesystem>
#include <tiny_gltf.h>
#include <vector>

namespace kv::exp {

/// Appends views and accessors to a model over one buffer of its own.
class GltfBuffer {
  public:
    explicit GltfBuffer(tinygltf::Model& model) : model_(model) {}

    /// An accessor of `values.size() / components` float elements of `type`
    /// (TINYGLTF_TYPE_*), in a view of its own; `target` 0 leaves the view's
    /// target unset. With `withBounds` the accessor carries min and max.
    int addFloats(const std::vector<float>& values, int type, int components, int target,
                  bool withBounds) {
        return addFloats(values.data(), values.size(), type, components, target, withBounds);
    }
    /// The same from `count` floats at `values`.
    int addFloats(const float* values, std::size_t count, int type, int components, int target,
                  bool withBounds);

    /// Bytes of the buffer so far (a multiple of 4).
    const std::vector<unsigned char>& data() const { return data_; }
    std::vector<unsigned char>& data() { return data_; }

  private:
    tinygltf::Model& model_;
    std::vector<unsigned char> data_;
};

/// Writes `model` (whose buffer is `data`; the model itself names none) as a
/// binary .glb, replacing `outputFile` only when all of it was written.
bool writeGlb(const tinygltf::Model& model, const std::vector<unsigned char>& data,
              const std::filesystem::path& outputFile);

/// Writes `model` with `data` as a .gltf text file and its buffer as
/// `binFile`, both written whole beside their targets and renamed into place,
/// the buffer first so the text never names a buffer that is not there.
bool writeGltfText(tinygltf::Model model, std::vector<unsigned char> data,
                   const std::filesystem::path& outputFile, const std::filesystem::path& binFile);

} // namespace kv::exp
