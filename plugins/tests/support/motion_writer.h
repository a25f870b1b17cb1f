#pragma once
/// Builds motion files byte by byte for the plug-in tests: the object record
/// at its stored offsets, geometry triangles, frames and the end marker, each
/// part adjustable so that damaged files can be made as easily as sound ones.

#include <array>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace kv::plugtest {

inline constexpr int kFrameFields = 66;
using FrameValues = std::array<float, kFrameFields>;

/// Frame field indices used by the tests.
enum : int {
    kFieldTime = 0,
    kFieldNorth = 6,
    kFieldEast = 7,
    kFieldDown = 8,
    kFieldRoll = 9,
    kFieldPitch = 10,
    kFieldYaw = 11,
};

struct EffectorSpec {
    std::string name;
    int kind = 0;
    int parent = -1;
    std::vector<int> children;
    std::array<int, 6> drivers{};   ///< forward, right, down, roll, pitch, yaw
    std::array<float, 6> offsets{}; ///< ft, ft, ft, deg, deg, deg
    std::array<float, 6> scales{};
};

struct MotionFixture {
    std::int32_t sizeTag = 11940;
    std::vector<EffectorSpec> effectors;
    std::optional<std::int32_t> effectorCount; ///< stored count, when not effectors.size()
    std::int32_t triangles = 0;                ///< triangles written (zero-filled)
    std::optional<std::int32_t> triangleCount; ///< stored count, when not `triangles`
    std::vector<FrameValues> frames;
    bool endMarker = true;
    std::size_t truncateTo = SIZE_MAX; ///< cut the file to this many bytes
};

/// A frame at `time` with every other field zero.
FrameValues frameAt(float time);

/// `count` frames at times 0, period, 2 period, ... (s).
std::vector<FrameValues> steadyFrames(int count, float period);

std::vector<std::uint8_t> motionBytes(const MotionFixture& fixture);

void writeMotion(const std::filesystem::path& file, const MotionFixture& fixture);

/// A folder of its own under the system's temporary folder, removed with its
/// contents on destruction.
class TempDir {
  public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    const std::filesystem::path& path() const { return path_; }
    std::filesystem::path operator/(const std::string& name) const { return path_ / name; }

  private:
    std::filesystem::path path_;
};

/// The text of `file` with line ends as "\n" whatever the platform writes.
std::string readText(const std::filesystem::path& file);

} // namespace kv::plugtest
