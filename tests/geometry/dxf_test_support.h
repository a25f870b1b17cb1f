#pragma once
// Small helpers shared by the DXF tests: a temporary folder, a message
// recorder and a reader run that collects every face.

#include "common/ports/messages.h"
#include "geometry/dxf_reader.h"

#include <array>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>
#include <vector>

namespace kv::geom::test {

class RecordedMessages final : public MessagePort {
  public:
    void showMessage(std::string_view text) override { texts.emplace_back(text); }
    std::vector<std::string> texts;
};

/// A folder under the system temporary folder, removed with its files.
class TempFolder {
  public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    /// Writes `bytes` exactly (binary) to `name` in the folder.
    std::filesystem::path write(const std::string& name, std::string_view bytes) const;
    const std::filesystem::path& path() const { return path_; }

  private:
    std::filesystem::path path_;
};

struct ReadFace {
    std::array<double, 12> corners;
    float progress;
};

struct ReadRun {
    int result = 0;
    std::vector<ReadFace> faces;
    std::vector<std::string> messages;
};

/// Reads `file` (its real size as the file size) collecting every face.
/// `stopAfter` > 0 makes the callback return 0 on that face.
ReadRun readAll(const std::filesystem::path& file, const model::GeometryTransform& transform = {},
                int stopAfter = 0);

/// A 3DFACE entity in the writer's layout with the given twelve value texts.
std::string faceText(const std::array<std::string, 12>& values);

} // namespace kv::geom::test
