#pragma once
/// Working files of the scenery sets and the terrain: streams of triangles kept
/// on disk while the program runs, so that a large terrain costs no memory
/// beyond its height grid.
///
/// A scenery stream holds 9 little-endian IEEE singles per triangle (corner 1
/// x, y, z, corner 2, corner 3; metres, system axes) and ends with one single
/// -999.0; a terrain stream holds the same in doubles, ending with one double
/// -999.0. A reader takes the first value of each record as the end marker when
/// it equals -999.0 within the relative tolerance of its precision (0.001 for
/// singles, 1e-8 for doubles). The project file stores these streams verbatim.

#include "common/ports/working_folder.h"
#include "geometry/face_split.h"

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace kv::geom {

/// Name of the terrain working file inside the working folder.
inline constexpr std::string_view kTerrainFileName = "terrain";
/// "scene" followed by the set number (0..4) in decimal.
std::string sceneryFileName(int set);
/// Name of the file a re-transform writes before it replaces `name`.
std::string tempFileName(std::string_view name);
/// Start of every working folder's name.
inline constexpr std::string_view kWorkingFolderPrefix = "kestrovane-";

/// A folder private to this running program, created fresh (mode 0700) under
/// the system's temporary directory and removed with everything in it when the
/// object is destroyed. Two running programs never share one: each gets its own
/// uniquely named folder from the operating system. The name is
/// "kestrovane-<process id>-" and six characters, so that a folder left by a
/// program that was killed can be told from one still in use.
class PrivateWorkingFolder final : public WorkingFolderPort {
  public:
    /// Creates the folder under `parent` (the system temporary directory when
    /// empty). Returns nullptr when it cannot be made.
    static std::unique_ptr<PrivateWorkingFolder> create(const std::filesystem::path& parent = {});
    ~PrivateWorkingFolder() override;
    PrivateWorkingFolder(const PrivateWorkingFolder&) = delete;
    PrivateWorkingFolder& operator=(const PrivateWorkingFolder&) = delete;

    std::filesystem::path folder() const override { return path_; }

  private:
    explicit PrivateWorkingFolder(std::filesystem::path path) : path_(std::move(path)) {}
    std::filesystem::path path_;
};

/// The owner's process id in the name of a working folder; nothing when
/// `name` is not one ("kestrovane-", decimal digits, "-", six letters or digits).
std::optional<long> workingFolderOwner(std::string_view name);

/// What a sweep of working folders left behind removed.
struct StaleSweep {
    int folders = 0;          ///< folders removed
    std::uintmax_t bytes = 0; ///< bytes their files held
};

/// Removes, under `parent` (the system temporary directory when empty), the
/// working folders of this user whose program no longer runs. Folders of
/// other users, of running programs (this one included) and anything not
/// named as a working folder are left alone.
StaleSweep removeStaleWorkingFolders(const std::filesystem::path& parent = {});

/// One line telling what a sweep freed, e.g. "removed 2 working folders left
/// by programs that ended, 1.5 MB freed" (KB below a megabyte); empty when it removed nothing.
std::string staleSweepMessage(const StaleSweep& sweep);

/// Closes a C stream when its owner goes.
struct FileCloser {
    void operator()(std::FILE* f) const {
        if (f != nullptr)
            std::fclose(f);
    }
};
using FileHandle = std::unique_ptr<std::FILE, FileCloser>;

/// Stored value of the end marker.
inline constexpr double kStreamEndMarker = -999.0;

/// True when `first`, the first value of a record, is the end marker.
bool isEndMarker(float first);
bool isEndMarker(double first);

enum class StreamRead {
    Triangle, ///< one triangle was read
    End,      ///< the end marker was read
    Error     ///< the stream ended or failed before a marker or inside a triangle
};

/// Sequential reader of a triangle stream. It reads exactly one record per
/// call, so a stream embedded in a larger file (the project file) is left
/// positioned just after its end marker.
template <typename T> class TriangleStreamReader {
  public:
    /// Reads from `file`, which the caller keeps open.
    explicit TriangleStreamReader(std::FILE* file) : borrowed_(file) {}
    /// Opens the working file at `path`; `isOpen()` tells whether that worked.
    explicit TriangleStreamReader(const std::filesystem::path& path);

    bool isOpen() const { return file() != nullptr; }
    /// Reads the next record. A stream that cannot be read is an error.
    StreamRead next(Triangle<T>& out);

  private:
    std::FILE* file() const { return owned_ ? owned_.get() : borrowed_; }
    FileHandle owned_;
    std::FILE* borrowed_ = nullptr;
};

/// Sequential writer of a triangle stream.
template <typename T> class TriangleStreamWriter {
  public:
    explicit TriangleStreamWriter(std::FILE* file) : borrowed_(file) {}
    /// Creates (or truncates) the working file at `path`.
    explicit TriangleStreamWriter(const std::filesystem::path& path);

    bool isOpen() const { return file() != nullptr; }
    /// Appends one triangle. A triangle whose first x would read back as the
    /// end marker is stored with its corners rotated (same winding) so that
    /// another corner comes first; one whose every corner has such an x cannot
    /// be stored at all and is dropped, since it would cut the stream short.
    /// Returns false on a write error.
    bool write(const Triangle<T>& tri);
    /// Appends the end marker and flushes; returns false on a write error.
    bool writeEnd();
    /// Flushes and closes an owned file; returns false on a write error.
    bool close();

    /// Triangles stored so far.
    std::int64_t triangleCount() const { return written_; }
    /// Triangles that could not be stored (see `write`).
    std::int64_t droppedCount() const { return dropped_; }
    bool failed() const { return failed_; }

  private:
    std::FILE* file() const { return owned_ ? owned_.get() : borrowed_; }
    FileHandle owned_;
    std::FILE* borrowed_ = nullptr;
    std::int64_t written_ = 0;
    std::int64_t dropped_ = 0;
    bool failed_ = false;
};

using SceneryStreamReader = TriangleStreamReader<float>;
using TerrainStreamReader = TriangleStreamReader<double>;
using SceneryStreamWriter = TriangleStreamWriter<float>;
using TerrainStreamWriter = TriangleStreamWriter<double>;

/// Copies one stream verbatim, end marker included, from `in` to `out` (both
/// kept open by the caller), reading record by record. Returns the number of
/// triangles copied, or -1 when `in` ends or fails before its marker, holds
/// more than `maxTriangles` triangles, or `out` reports a write error.
std::int64_t copySceneryStream(std::FILE* in, std::FILE* out, std::int64_t maxTriangles);
std::int64_t copyTerrainStream(std::FILE* in, std::FILE* out, std::int64_t maxTriangles);

} // namespace kv::geom
