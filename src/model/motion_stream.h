#pragma once
/// The pieces that object, motion and project files share: checked binary
/// reads and writes on a stream, the object record with its size word, the
/// geometry block (triangle count and triangles) and frames. Readers bound
/// every count before they loop and treat a short read as a damaged file.

#include "model/motion_frame.h"
#include "model/object_record.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <functional>

namespace kv::model {

/// Size word of the current object record; also the version tag of object and
/// motion files.
inline constexpr std::int32_t kObjectRecordTag = 11940;
/// Size word of the previous version's object record.
inline constexpr std::int32_t kPreviousObjectRecordTag = 12076;
/// Triangles one object's geometry can hold; a file claiming more is damaged.
inline constexpr std::int32_t kMaxObjectTriangles = 2000;

/// Receives one face: four corners x, y, z (metres, body axes), the fourth
/// repeating the third for a triangle. Returns non-zero to go on.
using FaceSink = std::function<int(const std::array<double, 12>&)>;

/// The geometry of one slot as a reader fills it.
struct GeometryIntake {
    std::function<void()> clear; ///< empties the slot's mesh; may be empty
    FaceSink addFace;            ///< may be empty: triangles are then read and dropped
};

/// The geometry of one slot as a writer sees it.
struct TriangleSource {
    std::size_t count = 0; ///< triangles in order
    /// Triangle i: corners 1, 2, 3 as x, y, z each (metres, body axes).
    std::function<std::array<float, 9>(std::size_t)> triangle;
};

/// Checked sequential reads from a binary stream.
class StreamReader {
  public:
    explicit StreamReader(std::FILE* in) : in_(in) {}
    /// False when fewer than `n` bytes remain.
    bool bytes(std::uint8_t* out, std::size_t n);
    bool i32(std::int32_t& v);
    bool frame(MotionFrame& f);
    /// Reads `n` bytes and drops them.
    bool skip(std::size_t n);

  private:
    std::FILE* in_;
};

/// Sequential writes to a binary stream that remember the first failure.
class StreamWriter {
  public:
    explicit StreamWriter(std::FILE* out) : out_(out) {}
    void bytes(const std::uint8_t* p, std::size_t n);
    void i32(std::int32_t v);
    void frame(const MotionFrame& f);
    /// Flushes; true when every write so far succeeded.
    bool finish();
    bool ok() const { return ok_; }

  private:
    std::FILE* out_;
    bool ok_ = true;
};

/// Decodes an object record image and refuses one whose counts are out of
/// range (effectors above 30, children above 6). Names are forced to end in
/// a NUL so that no later reader runs past a name field.
bool decodeCheckedObject(std::span<const std::uint8_t, kObjectRecordSize> image, ObjectRecord& r);

/// Reads an object record image (without its size word) and checks it.
bool readObjectRecord(StreamReader& in, ObjectRecord& r);

/// Reads the geometry block: the triangle count, bounded by
/// kMaxObjectTriangles, then each triangle handed to `geometry.addFace` as a
/// face whose fourth corner repeats the third. Once the sink says stop, the
/// remaining triangles are still read so the stream stays in step.
bool readGeometry(StreamReader& in, const GeometryIntake& geometry);

/// Writes the size word, the record, the geometry block, `frames` and the end
/// marker frame. False when the geometry exceeds kMaxObjectTriangles or a
/// write failed.
bool writeMotionBody(StreamWriter& out, const ObjectRecord& record, const TriangleSource& geometry,
                     std::span<const MotionFrame> frames);

/// True when `time` is the end marker's time (relative tolerance 0.001).
bool isEndMarkerTime(float time);

} // namespace kv::model
