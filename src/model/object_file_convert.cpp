#include "model/object_file_convert.h"

#include "common/atomic_file.h"
#include "common/file_names.h"
#include "common/le_io.h"
#include "common/unit_constants.h"
#include "common/vecmath.h"
#include "model/driver_codes.h"
#include "model/motion_file.h"
#include "model/motion_stream.h"
#include "model/object_file.h"
#include "model/object_model.h"
#include "model/record_codec.h"

#include <cstring>
#include <memory>
#include <system_error>
#include <vector>

namespace kv::model {
namespace {

struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};
using FileHandle = std::unique_ptr<std::FILE, FileCloser>;

/// One run of bytes copied from the previous record into the current one.
struct FieldMove {
    std::size_t current;
    std::size_t previous;
    std::size_t size;
};

// Everything except role, record channel, name and geometry transform, which
// the previous version did not have.
constexpr std::array<FieldMove, 17> kFieldMoves{{
    {0, 0, 8},         // reserved0, vehicleType
    {272, 8, 48},      // initial
    {320, 56, 68},     // mass
    {388, 128, 4},     // tireCount
    {392, 124, 4},     // skid
    {396, 136, 4},     // tireType
    {400, 140, 4},     // surface
    {404, 144, 40},    // drive
    {444, 184, 40},    // brake
    {484, 744, 4},     // braking
    {488, 664, 40},    // spring
    {528, 704, 40},    // damping
    {568, 748, 16},    // engine type, nozzle limit, power, scale
    {584, 764, 128},   // aero
    {712, 892, 12},    // collision friction, spring, damping
    {768, 904, 8},     // color, transparency
    {776, 912, 11164}, // effectorCount and the 30 effectors
}};

/// Per-tire strut values (ten floats) of the previous record.
constexpr std::size_t kPreviousStrut = 624;
/// Pivot points A_k and B_k (ten x, y, z each) of the previous record.
constexpr std::size_t kPreviousPivotA = 344;
constexpr std::size_t kPreviousPivotB = 504;

float previousFloat(std::span<const std::uint8_t, kPreviousObjectRecordSize> old,
                    std::size_t offset) {
    return io::getF32(old.data() + offset);
}

Vec3 previousPoint(std::span<const std::uint8_t, kPreviousObjectRecordSize> old, std::size_t offset,
                   int k) {
    const std::size_t base = offset + 12 * static_cast<std::size_t>(k);
    return {previousFloat(old, base), previousFloat(old, base + 4), previousFloat(old, base + 8)};
}

void correctEffector(EffectorRecord& e,
                     std::span<const std::uint8_t, kPreviousObjectRecordSize> old) {
    for (std::size_t d = 0; d < 6; ++d) {
        if (e.drivers[d] == kDriverNone && e.scales[d] == 1.0f) {
            e.scales[d] = 0.0f;
        }
    }
    const int down = e.drivers[kDofDown];
    if (isStrutCode(down)) {
        const int k = down - kDriverStrutCompression;
        e.scales[kDofDown] = -previousFloat(old, kPreviousStrut + 4 * static_cast<std::size_t>(k));
    }
    const int pitch = e.drivers[kDofPitch];
    if (isPivotCode(pitch)) {
        const int k = pitch - kDriverPivot;
        const float strut = previousFloat(old, kPreviousStrut + 4 * static_cast<std::size_t>(k));
        const Vec3 a = previousPoint(old, kPreviousPivotA, k);
        const Vec3 b = previousPoint(old, kPreviousPivotB, k);
        Vec3 arm{};
        VecSub(b, a, arm);
        const float length = VecLength(arm);
        // A pivot whose two points coincide has no arm: its scale would be
        // infinite, so the stored one is kept.
        if (length > 0.0f) {
            float scale = strut / length * kDegPerRad;
            if (b[0] < a[0]) {
                scale = -scale;
            }
            e.scales[kDofPitch] = scale;
        }
    }
}

bool pathTaken(const std::filesystem::path& p) {
    std::error_code ec;
    const auto status = std::filesystem::symlink_status(p, ec);
    // An error other than "not found" leaves the name unusable too.
    return !ec ? std::filesystem::exists(status) : ec != std::errc::no_such_file_or_directory;
}

bool writeConverted(const std::filesystem::path& file, const ConvertedObject& object) {
    TriangleSource source{object.triangles.size(),
                          [&](std::size_t i) { return object.triangles[i]; }};
    return writeFileAtomically(file, [&](std::FILE* out) {
        StreamWriter writer(out);
        return writeMotionBody(writer, object.record, source, {}) && writer.finish();
    });
}

bool readWhole(const std::filesystem::path& file, std::vector<std::uint8_t>& bytes) {
    FileHandle in(kv::openFile(file, "rb"));
    if (!in) {
        return false;
    }
    std::array<std::uint8_t, 1 << 16> chunk{};
    for (;;) {
        const std::size_t n = std::fread(chunk.data(), 1, chunk.size(), in.get());
        bytes.insert(bytes.end(), chunk.begin(), chunk.begin() + static_cast<std::ptrdiff_t>(n));
        if (n < chunk.size()) {
            return std::ferror(in.get()) == 0;
        }
    }
}

} // namespace

std::optional<ObjectRecord>
convertPreviousRecord(std::span<const std::uint8_t, kPreviousObjectRecordSize> old,
                      std::string_view name, std::int32_t role) {
    ObjectImage image{};
    for (const FieldMove& m : kFieldMoves) {
        std::memcpy(image.data() + m.current, old.data() + m.previous, m.size);
    }
    ObjectRecord r;
    if (!decodeCheckedObject(image, r)) {
        return std::nullopt;
    }
    r.role = role;
    r.recordChannel = -1;
    setRecordName(r.name, name);
    r.geometryTransform = GeometryTransform{};
    for (int i = 0; i < r.effectorCount; ++i) {
        correctEffector(r.effectors[static_cast<std::size_t>(i)], old);
    }
    return r;
}

std::optional<ConvertedObject> readPreviousObject(std::FILE* in, std::string_view name,
                                                  std::int32_t role, MessagePort& messages) {
    StreamReader reader(in);
    std::int32_t size = 0;
    auto image = std::make_unique<PreviousObjectImage>();
    if (!reader.i32(size) || size != kPreviousObjectRecordTag ||
        !reader.bytes(image->data(), image->size())) {
        messages.showMessage(kObjectOldVersionMessage);
        return std::nullopt;
    }
    std::optional<ObjectRecord> record = convertPreviousRecord(*image, name, role);
    std::int32_t count = 0;
    if (!record || !reader.i32(count) || count < 0 || count > kMaxObjectTriangles) {
        messages.showMessage(kObjectOldVersionMessage);
        return std::nullopt;
    }
    ConvertedObject result{*record, {}};
    result.triangles.resize(static_cast<std::size_t>(count));
    std::array<std::uint8_t, 36> tri{};
    for (auto& t : result.triangles) {
        if (!reader.bytes(tri.data(), tri.size())) {
            messages.showMessage(kObjectOldVersionMessage);
            return std::nullopt;
        }
        for (std::size_t i = 0; i < 9; ++i) {
            t[i] = io::getF32(tri.data() + 4 * i);
        }
    }
    std::array<std::uint8_t, kPreviousFrameSize> frame{};
    if (!reader.bytes(frame.data(), frame.size())) {
        messages.showMessage(kObjectOldVersionMessage);
        return std::nullopt;
    }
    if (!isEndMarkerTime(io::getF32(frame.data()))) {
        messages.showMessage(kMoreThanOneVersionOldMessage);
        return std::nullopt;
    }
    return result;
}

bool convertObjectFile(const std::filesystem::path& oldFile, const std::filesystem::path& newFile,
                       std::string_view name, std::int32_t role, MessagePort& messages) {
    FileHandle in(kv::openFile(oldFile, "rb"));
    if (!in) {
        messages.showMessage(kNoValidFileMessage);
        return false;
    }
    const std::optional<ConvertedObject> object =
        readPreviousObject(in.get(), name, role, messages);
    if (!object) {
        return false;
    }
    if (!writeConverted(newFile, *object)) {
        messages.showMessage(saveFailedMessage(newFile));
        return false;
    }
    return true;
}

std::optional<std::filesystem::path> backupPathFor(const std::filesystem::path& file) {
    const std::string fileName = utf8Name(file.filename());
    const std::string cut = fileName.substr(0, fileName.find('.'));
    const std::filesystem::path dir = file.parent_path();
    for (int n = 0; n < 1000; ++n) {
        const std::string candidate =
            n == 0 ? cut + ".old" : cut + "." + std::to_string(n) + ".old";
        if (candidate == fileName) {
            continue;
        }
        std::filesystem::path p = dir / candidate;
        if (!pathTaken(p)) {
            return p;
        }
    }
    return std::nullopt;
}

bool upgradeObjectFile(const std::filesystem::path& file, MessagePort& messages) {
    std::optional<ConvertedObject> object;
    {
        FileHandle in(kv::openFile(file, "rb"));
        if (!in) {
            messages.showMessage(kNoValidFileMessage);
            return false;
        }
        const FileVersion version = checkFileVersion(in.get(), messages);
        if (version != kVersionPrevious) {
            return version == kVersionCurrent;
        }
        object = readPreviousObject(in.get(), "Untitled", -1, messages);
        if (!object) {
            return false;
        }
    }
    // The backup is a copy, and the upgraded file replaces the original in one
    // rename: whenever the process stops, the file's name holds either the old
    // version or the new one.
    std::vector<std::uint8_t> previous;
    const std::optional<std::filesystem::path> backup = backupPathFor(file);
    if (!backup || !readWhole(file, previous) || !writeFileAtomically(*backup, [&](std::FILE* out) {
            return std::fwrite(previous.data(), 1, previous.size(), out) == previous.size();
        })) {
        messages.showMessage(saveFailedMessage(file));
        return false;
    }
    if (!writeConverted(file, *object)) {
        std::error_code ec;
        std::filesystem::remove(*backup, ec);
        messages.showMessage(saveFailedMessage(file));
        return false;
    }
    return true;
}

} // namespace kv::model
