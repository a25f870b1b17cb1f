#include "lws_convert.h"

#include "common/unit_constants.h"
#include "common/utf8_files.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <limits>
#include <vector>

namespace kv::lws {
namespace {

// ---- Motion file layout ----------------------------------------------------
// The motion file is the simulator's: a size tag, the object record byte for
// byte, the geometry triangles, then frames up to an end marker. This source
// shares no header with the simulator (the plug-in links nothing of ours), so
// the few record fields it needs are read here by offset, little-endian.

constexpr std::int32_t kObjectRecordSize = 11940;
constexpr std::uint64_t kTriangleSize = 36; ///< nine floats
constexpr int kFrameFields = 66;
constexpr std::size_t kFrameSize = kFrameFields * 4;

constexpr std::size_t kEffectorCountOffset = 776;
constexpr std::size_t kEffectorsOffset = 780;
constexpr std::size_t kEffectorSize = 372;
constexpr int kMaxEffectors = 30;
constexpr int kMaxChildren = 6;
constexpr std::size_t kNameChars = 256;

// Offsets inside one effector record.
constexpr std::size_t kEffParent = 4;
constexpr std::size_t kEffChildCount = 8;
constexpr std::size_t kEffChildren = 12;
constexpr std::size_t kEffDrivers = 36;
constexpr std::size_t kEffOffsets = 60;
constexpr std::size_t kEffScales = 84;
constexpr std::size_t kEffName = 116;

static_assert(kEffectorsOffset + kMaxEffectors * kEffectorSize == kObjectRecordSize);
static_assert(kEffName + kNameChars == kEffectorSize);

// Frame fields.
constexpr int kTime = 0;
constexpr int kNorth = 6; ///< then east, down (m)
constexpr int kRoll = 9;  ///< then pitch, yaw (deg)
constexpr int kMainRotorAngle = 25;
constexpr int kConing = 26;
constexpr int kFlapCos = 27;
constexpr int kFlapSin = 28;

constexpr float kEndMarkerTime = -999.0f;

constexpr const char* kInvalidFile = "Invalid motion file.";
constexpr const char* kNoMotion = "No motion data saved in file.";

using Frame = std::array<float, kFrameFields>;

std::uint32_t loadU32(const std::uint8_t* p) {
    return static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
           (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}

float loadF32(const std::uint8_t* p) {
    const std::uint32_t bits = loadU32(p);
    float v;
    std::memcpy(&v, &bits, sizeof v);
    return v;
}

/// Fields of the object record, read by offset; an offset outside the record
/// reads as zero rather than past its end.
class RecordBytes {
  public:
    std::array<std::uint8_t, kObjectRecordSize>& raw() { return bytes_; }
    std::int32_t i32(std::size_t offset) const {
        if (offset > bytes_.size() - 4)
            return 0;
        return static_cast<std::int32_t>(loadU32(bytes_.data() + offset));
    }
    float f32(std::size_t offset) const {
        if (offset > bytes_.size() - 4)
            return 0.0f;
        return loadF32(bytes_.data() + offset);
    }
    /// The NUL-terminated text of a fixed-size field (at most size - 1 characters).
    std::string text(std::size_t offset, std::size_t size) const {
        std::string s;
        for (std::size_t i = 0; i + 1 < size && offset + i < bytes_.size(); ++i) {
            const char c = static_cast<char>(bytes_[offset + i]);
            if (c == '\0')
                break;
            s.push_back(c);
        }
        return s;
    }

  private:
    std::array<std::uint8_t, kObjectRecordSize> bytes_{};
};

/// What the scene needs of one effector.
struct Effector {
    int parent = -1;
    std::vector<int> children;
    std::array<int, 6> drivers{};   ///< forward, right, down, roll, pitch, yaw
    std::array<float, 6> offsets{}; ///< ft, ft, ft, deg, deg, deg
    std::array<float, 6> scales{};
    std::string name;
};

bool isEndMarker(float time) {
    // Same relative tolerance as the simulator's own reader.
    return std::fabs(time - kEndMarkerTime) <= 0.001f * 999.0f;
}

/// Sequential reader of a motion file opened as raw bytes.
class MotionFile {
  public:
    explicit MotionFile(const std::string& path) : file_(plugin::openUtf8(path, "rb")) {}
    ~MotionFile() {
        if (file_)
            std::fclose(file_);
    }
    MotionFile(const MotionFile&) = delete;
    MotionFile& operator=(const MotionFile&) = delete;

    bool isOpen() const { return file_ != nullptr; }

    bool read(void* out, std::size_t n) { return std::fread(out, 1, n, file_) == n; }

    bool readI32(std::int32_t& v) {
        std::uint8_t b[4];
        if (!read(b, 4))
            return false;
        v = static_cast<std::int32_t>(loadU32(b));
        return true;
    }

    enum class FrameRead { Record, End, Short };

    FrameRead readFrame(Frame& f) {
        std::uint8_t b[kFrameSize];
        if (!read(b, kFrameSize))
            return FrameRead::Short;
        for (int i = 0; i < kFrameFields; ++i)
            f[static_cast<std::size_t>(i)] = loadF32(b + 4 * i);
        return isEndMarker(f[kTime]) ? FrameRead::End : FrameRead::Record;
    }

    /// Skips `n` bytes, failing when fewer remain.
    bool skip(std::uint64_t n) {
        const long here = std::ftell(file_);
        if (here < 0 || std::fseek(file_, 0, SEEK_END) != 0)
            return false;
        const long end = std::ftell(file_);
        if (end < here || n > static_cast<std::uint64_t>(end - here))
            return false;
        return std::fseek(file_, here + static_cast<long>(n), SEEK_SET) == 0;
    }

    long position() const { return std::ftell(file_); }
    bool seek(long position) { return std::fseek(file_, position, SEEK_SET) == 0; }

  private:
    std::FILE* file_;
};

/// The header of a motion file as the scene needs it.
struct MotionHeader {
    std::vector<Effector> effectors;
    long firstFrame = 0;   ///< file position of the first frame
    float lastTime = 0.0f; ///< time of the last real frame T (s)
};

/// Reads effectors from the record; false when the record's effector tree is
/// not one the simulator could have written (counts or indices out of range).
bool readEffectors(const RecordBytes& record, std::vector<Effector>& out) {
    const std::int32_t count = record.i32(kEffectorCountOffset);
    if (count < 0 || count > kMaxEffectors)
        return false;
    out.assign(static_cast<std::size_t>(count), Effector{});
    for (int i = 0; i < count; ++i) {
        const std::size_t base = kEffectorsOffset + static_cast<std::size_t>(i) * kEffectorSize;
        Effector& e = out[static_cast<std::size_t>(i)];
        e.parent = record.i32(base + kEffParent);
        if (e.parent < -1 || e.parent >= count)
            return false;
        const std::int32_t childCount = record.i32(base + kEffChildCount);
        if (childCount < 0 || childCount > kMaxChildren)
            return false;
        for (int c = 0; c < childCount; ++c) {
            const std::int32_t child =
                record.i32(base + kEffChildren + 4 * static_cast<std::size_t>(c));
            if (child < 0 || child >= count)
                return false;
            e.children.push_back(child);
        }
        for (std::size_t k = 0; k < 6; ++k) {
            e.drivers[k] = record.i32(base + kEffDrivers + 4 * k);
            e.offsets[k] = record.f32(base + kEffOffsets + 4 * k);
            e.scales[k] = record.f32(base + kEffScales + 4 * k);
        }
        e.name = record.text(base + kEffName, kNameChars);
    }
    return true;
}

/// Reads the header and counts the frames. Returns "" or the user message.
std::string readHeader(MotionFile& file, MotionHeader& header) {
    std::int32_t size = 0;
    if (!file.readI32(size) || size != kObjectRecordSize)
        return kInvalidFile;
    RecordBytes record;
    if (!file.read(record.raw().data(), record.raw().size()))
        return kInvalidFile;
    if (!readEffectors(record, header.effectors))
        return kInvalidFile;

    std::int32_t triangles = 0;
    if (!file.readI32(triangles) || triangles < 0)
        return kInvalidFile;
    if (!file.skip(static_cast<std::uint64_t>(triangles) * kTriangleSize))
        return kInvalidFile;
    header.firstFrame = file.position();
    if (header.firstFrame < 0)
        return kInvalidFile;

    // The first frame is read on its own; every record after it, the end
    // marker included, is counted, so n real frames count n.
    Frame frame{};
    auto r = file.readFrame(frame);
    if (r == MotionFile::FrameRead::Short)
        return kInvalidFile;
    if (r == MotionFile::FrameRead::End)
        return kNoMotion;
    header.lastTime = frame[kTime];
    std::uint64_t count = 0;
    for (;;) {
        r = file.readFrame(frame);
        if (r == MotionFile::FrameRead::Short)
            return kInvalidFile;
        ++count;
        if (r == MotionFile::FrameRead::End)
            break;
        header.lastTime = frame[kTime];
    }
    if (count <= 2)
        return kNoMotion;
    if (!std::isfinite(header.lastTime))
        return kInvalidFile;
    return "";
}

/// Plays the motion forward in time with angle unwrapping and linear
/// interpolation between the two records around the requested time.
class MotionSampler {
  public:
    MotionSampler(MotionFile& file, long firstFrame) : file_(file), firstFrame_(firstFrame) {}

    bool rewind() {
        if (!file_.seek(firstFrame_))
            return false;
        if (file_.readFrame(current_) != MotionFile::FrameRead::Record)
            return false;
        previous_ = current_;
        unwrap_ = {0.0f, 0.0f, 0.0f};
        exhausted_ = false;
        return true;
    }

    /// The motion at `t` (s). Past the last real frame the last frame holds:
    /// the end marker and anything after it are never sampled.
    Frame sample(double t) {
        while (t > current_[kTime] && !exhausted_) {
            Frame next{};
            if (file_.readFrame(next) != MotionFile::FrameRead::Record) {
                exhausted_ = true;
                previous_ = current_;
                break;
            }
            previous_ = current_;
            current_ = next;
            for (std::size_t k = 0; k < 3; ++k) {
                const std::size_t i = kRoll + k;
                float a = current_[i] + unwrap_[k];
                if (a - previous_[i] > 180.0f) {
                    a -= 360.0f;
                    unwrap_[k] -= 360.0f;
                } else if (a - previous_[i] < -180.0f) {
                    a += 360.0f;
                    unwrap_[k] += 360.0f;
                }
                current_[i] = a;
            }
        }
        const double t0 = previous_[kTime];
        const double t1 = current_[kTime];
        const double w = t1 > t0 ? (t - t0) / (t1 - t0) : 1.0;
        Frame out{};
        for (std::size_t i = 0; i < out.size(); ++i) {
            out[i] = static_cast<float>(previous_[i] +
                                        w * (static_cast<double>(current_[i]) - previous_[i]));
        }
        return out;
    }

  private:
    MotionFile& file_;
    long firstFrame_;
    Frame previous_{};
    Frame current_{};
    std::array<float, 3> unwrap_{}; ///< running offsets of roll, pitch, yaw (deg)
    bool exhausted_ = false;
};

/// One degree of freedom of an effector on a sampled record, as the simulator
/// animates it: offset + scale * the driver's quantity.
float effectorValue(const Effector& e, std::size_t dof, const Frame& f) {
    const int code = e.drivers[dof];
    const float offset = e.offsets[dof];
    const float scale = e.scales[dof];
    if (code >= 52 && code <= 62)
        return f[static_cast<std::size_t>(code + 3)]; // unscaled
    float q;
    if (code >= 1 && code <= 14) {
        q = f[static_cast<std::size_t>(code + 11)];
    } else if (code == 15) {
        // Flapping seen by a blade at the rotor angle plus its own azimuth.
        const double psi = (static_cast<double>(f[kMainRotorAngle]) + e.offsets[5]) * kRadPerDegD;
        q = static_cast<float>(std::sin(psi) * f[kFlapSin] + std::cos(psi) * f[kFlapCos] +
                               f[kConing]);
    } else if (code >= 16 && code <= 40) {
        q = f[static_cast<std::size_t>(code + 13)];
    } else if (code >= 41 && code <= 50) {
        q = f[static_cast<std::size_t>(code - 7)]; // a pivot follows its tire's strut
    } else if (code == 51) {
        q = f[54];
    } else {
        return offset;
    }
    return offset + scale * q;
}

/// Position (LightWave X, Y, Z) and rotation (heading, pitch, bank) of a key.
using Pose = std::array<float, 6>;

/// Simulator axes (forward, right, down; roll, pitch, yaw) to LightWave's
/// (X right, Y up, Z forward; heading, pitch, bank).
Pose toLightWave(float forward, float right, float down, float roll, float pitch, float yaw) {
    return {right, -down, forward, yaw, -pitch, -roll};
}

Pose centreOfGravityPose(const Frame& f) {
    return toLightWave(f[kNorth], f[kNorth + 1], f[kNorth + 2], f[kRoll], f[kRoll + 1],
                       f[kRoll + 2]);
}

Pose effectorPose(const Effector& e, const Frame& f) {
    std::array<float, 6> v{};
    for (std::size_t k = 0; k < 6; ++k) {
        v[k] = effectorValue(e, k, f);
        const bool unscaled = e.drivers[k] >= 52 && e.drivers[k] <= 62;
        if (k < 3 && !unscaled)
            v[k] *= kMetresPerFoot; // ft to m
    }
    return toLightWave(v[0], v[1], v[2], v[3], v[4], v[5]);
}

/// Scene text written to a file, with numbers formatted independently of the
/// C locale the host may have set ("%f" in the C locale).
class SceneWriter {
  public:
    explicit SceneWriter(std::FILE* file) : file_(file) {}

    SceneWriter& text(std::string_view s) {
        if (!s.empty() && std::fwrite(s.data(), 1, s.size(), file_) != s.size())
            failed_ = true;
        return *this;
    }
    SceneWriter& fixed(double v) {
        char buf[400];
        const auto r = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::fixed, 6);
        return text(std::string_view(buf, static_cast<std::size_t>(r.ptr - buf)));
    }
    SceneWriter& integer(std::int64_t v) {
        char buf[24];
        const auto r = std::to_chars(buf, buf + sizeof buf, v);
        return text(std::string_view(buf, static_cast<std::size_t>(r.ptr - buf)));
    }
    bool failed() const { return failed_ || std::ferror(file_) != 0; }

  private:
    std::FILE* file_;
    bool failed_ = false;
};

/// Control characters would break the one-statement-per-line scene text.
std::string sceneName(std::string s) {
    for (char& c : s) {
        if (static_cast<unsigned char>(c) < 0x20)
            c = '_';
    }
    return s;
}

/// Keying shared by every object of the scene.
struct Keying {
    double framesPerSecond = 0.0; ///< f
    double timeScale = 1.0;       ///< fraction (percent * 0.01)
    bool hasOffset = false;       ///< offset > 0
    std::int64_t skip = 1;
    std::int64_t firstFrame = 0; ///< d = trunc(f * offset)
    std::int64_t frameCount = 0; ///< N = trunc(T * f * scale)
    std::int64_t keyCount = 0;   ///< K
};

void writeKeys(SceneWriter& out, const Keying& k, MotionSampler& sampler,
               const Effector* effector) {
    const std::int64_t d = k.firstFrame;
    const std::int64_t e = d + k.frameCount;
    for (std::int64_t g = d; g < e; g += k.skip) {
        if (g == d) {
            // Zero scale until the motion starts.
            out.text("0 0 0 0 0 0 0 0 0\n0 0 1.0 0 0\n");
            continue;
        }
        const double t = static_cast<double>(g - d) / (k.framesPerSecond * k.timeScale);
        const Frame f = sampler.sample(t);
        const Pose p = effector ? effectorPose(*effector, f) : centreOfGravityPose(f);
        auto pose = [&] {
            for (float v : p)
                out.fixed(v).text(" ");
            out.text("1 1 1\n");
        };
        if (g == d + k.skip && k.hasOffset) {
            pose(); // the first pose held from frame 1 through the offset
            out.text("1 0 1.0 0 0\n");
        }
        pose();
        out.integer(g).text(" 0 1.0 0 0\n");
    }
}

bool writeObject(SceneWriter& out, const Keying& k, MotionSampler& sampler, const std::string& name,
                 const Effector* effector, int parentObject) {
    if (!sampler.rewind())
        return false;
    out.text("AddNullObject ").text(name).text("\n");
    out.text("ShowObject 4 7\n");
    out.text("ObjectMotion (unnamed)\n");
    out.text("9\n").integer(k.keyCount).text("\n");
    writeKeys(out, k, sampler, effector);
    out.text("EndBehavior 2\n");
    if (effector)
        out.text("ParentObject ").integer(parentObject).text("\n");
    out.text("ShadowOptions 7\n\n");
    return true;
}

struct ObjectTree {
    const std::vector<Effector>& effectors;
    const std::string& baseName;
    const Keying& keying;
    MotionSampler& sampler;
    SceneWriter& out;
    std::vector<bool> written;
    int nextObject = 2; ///< object 1 is the centre of gravity

    /// Writes an effector and, depth-first, its children. An effector is
    /// written once even when a damaged record lists it twice or in a cycle.
    bool write(int index, int parentObject) {
        const auto i = static_cast<std::size_t>(index);
        if (written[i])
            return true;
        written[i] = true;
        const int self = nextObject++;
        const Effector& e = effectors[i];
        if (!writeObject(out, keying, sampler, sceneName(baseName + "." + e.name), &e,
                         parentObject))
            return false;
        for (int child : e.children) {
            if (!write(child, self))
                return false;
        }
        return true;
    }
};

std::string quoted(const std::string& s) {
    return "\"" + s + "\"";
}

bool fitsFrameNumber(double v) {
    return v > -2147483648.0 && v < 2147483647.0; // false for NaN too
}

} // namespace

std::string settingsProblem(const SceneSettings& s) {
    if (s.frameSkip <= 0)
        return "Frame skip must be greater than 0";
    if (!(s.timeScalePercent > 0.0))
        return "Time scale must be greater than 0%";
    if (!(s.timeOffset >= 0.0))
        return "Time offset must be greater than 0 seconds";
    return "";
}

std::string frameRateProblem(double fps) {
    if (!(fps > 0.0) || !std::isfinite(fps)) {
        return "The scene's frame rate must be greater than 0 frames per second.";
    }
    return "";
}

std::string sceneBaseName(std::string_view path) {
    const auto slash = path.find_last_of("\\/");
    std::string_view name = slash == std::string_view::npos ? path : path.substr(slash + 1);
    return std::string(name.substr(0, name.find('.')));
}

std::string scenePathFor(std::string_view path) {
    const auto slash = path.find_last_of("\\/");
    const std::size_t nameStart = slash == std::string_view::npos ? 0 : slash + 1;
    const auto dot = path.find('.', nameStart);
    return std::string(path.substr(0, dot)) + ".lws";
}

ConversionResult convertMotionToScene(const std::string& motionPath, const std::string& scenePath,
                                      double fps, const SceneSettings& settings) {
    if (auto why = frameRateProblem(fps); !why.empty())
        return {Outcome::Failed, why};
    if (auto why = settingsProblem(settings); !why.empty())
        return {Outcome::Refused, why};
    std::error_code ec;
    if (motionPath == scenePath || std::filesystem::equivalent(plugin::utf8Path(motionPath),
                                                               plugin::utf8Path(scenePath), ec)) {
        return {Outcome::Failed,
                "The scene file " + quoted(scenePath) + " would replace the motion file."};
    }

    MotionFile motion(motionPath);
    if (!motion.isOpen()) {
        return {Outcome::Failed, "The motion file " + quoted(motionPath) + " could not be opened."};
    }
    MotionHeader header;
    if (auto why = readHeader(motion, header); !why.empty())
        return {Outcome::Refused, why};

    Keying k;
    k.framesPerSecond = fps;
    k.timeScale = settings.timeScalePercent * 0.01;
    k.hasOffset = settings.timeOffset > 0.0;
    k.skip = settings.frameSkip;
    const double T = header.lastTime;
    const double frames = T * fps * k.timeScale;
    const double firstFrame = fps * settings.timeOffset;
    const double lastFrame = (T * k.timeScale + settings.timeOffset) * fps;
    if (!fitsFrameNumber(frames) || !fitsFrameNumber(firstFrame) || !fitsFrameNumber(lastFrame) ||
        !fitsFrameNumber(firstFrame + frames)) {
        return {Outcome::Refused, "The motion is too long for a scene at this frame rate."};
    }
    // A motion whose last time is not after its start has no output frames.
    k.frameCount = std::max<std::int64_t>(0, static_cast<std::int64_t>(std::trunc(frames)));
    k.firstFrame = static_cast<std::int64_t>(std::trunc(firstFrame));
    if (k.frameCount > 0) {
        k.keyCount = (k.frameCount + k.skip - 1) / k.skip;
        if (k.hasOffset && k.frameCount > k.skip)
            ++k.keyCount;
    }

    const std::string temp = scenePath + ".kvtmp";
    // Text mode: the scene's lines end in CR LF on Windows, as LightWave writes them there.
    std::FILE* file = plugin::openUtf8(temp, "w");
    if (!file) {
        return {Outcome::Failed, "The scene file " + quoted(scenePath) + " could not be created."};
    }
    SceneWriter out(file);
    out.text("LWSC\n1\n\n");
    out.text("FirstFrame 1\n");
    out.text("LastFrame ").integer(static_cast<std::int64_t>(std::trunc(lastFrame))).text("\n");
    out.text("FrameStep 1\n");
    out.text("FramesPerSecond ").fixed(fps).text("\n\n");

    const std::string base = sceneBaseName(motionPath);
    MotionSampler sampler(motion, header.firstFrame);
    bool ok = writeObject(out, k, sampler, sceneName(base + ".CG"), nullptr, 0);
    ObjectTree tree{header.effectors, base, k,
                    sampler,          out,  std::vector<bool>(header.effectors.size(), false)};
    for (std::size_t i = 0; ok && i < header.effectors.size(); ++i) {
        if (header.effectors[i].parent == -1)
            ok = tree.write(static_cast<int>(i), 1);
    }
    ok = ok && !out.failed();
    ok = (std::fclose(file) == 0) && ok;
    if (ok) {
        std::filesystem::rename(plugin::utf8Path(temp), plugin::utf8Path(scenePath), ec);
        ok = !ec;
    }
    if (!ok) {
        std::filesystem::remove(plugin::utf8Path(temp), ec);
        return {Outcome::Failed, "The scene file " + quoted(scenePath) + " could not be written."};
    }
    return {Outcome::Written, ""};
}

} // namespace kv::lws
