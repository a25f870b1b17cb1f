#include "app/document/project_convert.h"

#include "app/document/project_file.h"
#include "app/settings/preferences.h"
#include "common/atomic_file.h"
#include "common/file_names.h"
#include "common/le_io.h"
#include "geometry/working_files.h"
#include "model/motion_file.h"
#include "model/motion_stream.h"
#include "model/object_file.h"
#include "model/object_file_convert.h"

#include <algorithm>
#include <cmath>
#include <optional>
#include <string>
#include <vector>

namespace kv::app {
namespace {

template <typename Walker, typename State> void walkPrevious(Walker& w, State& s) {
    w.i32(s.collisionObjects);
    w.i32(s.objectCount);
    w.i32(s.observeMode);
    w.i32(s.terrainPresent);
    w.i32(s.collisionOn);
    w.i32(s.cameraFollows);
    w.i32(s.sceneryCount);
    w.i32(s.sceneryTriangles);
    w.i32(s.terrainTriangles);
    w.f32(s.sunAngle);
    w.f32(s.gravity);
    w.chars(s.projectName);
    w.chars(s.terrainName);
    for (auto& n : s.sceneryNames)
        w.chars(n);
    w.i32(s.objectRoles);
    for (auto& n : s.objectNames)
        w.chars(n);
}

bool readI32(std::FILE* in, std::int32_t& v) {
    std::uint8_t b[4];
    if (std::fread(b, 1, 4, in) != 4)
        return false;
    v = io::getI32(b);
    return true;
}

bool writeI32(std::FILE* out, std::int32_t v) {
    std::uint8_t b[4];
    io::putI32(b, v);
    return std::fwrite(b, 1, 4, out) == 4;
}

/// Largest preferences block of another size that is skipped rather than
/// taken as damage.
constexpr std::int32_t kMaxSkippedPreferences = 1 << 16;

/// Most triangles one scenery stream may carry (a bound against a damaged
/// file whose end marker is missing).
constexpr std::size_t kMaxStreamTriangles = 10'000'000;

/// Reads one scenery stream (9 floats a triangle, ended by the float -999)
/// into `out`, marker included.
bool copySceneryStream(std::FILE* in, std::vector<std::uint8_t>& out) {
    for (std::size_t t = 0; t <= kMaxStreamTriangles; ++t) {
        std::uint8_t first[4];
        if (std::fread(first, 1, 4, in) != 4)
            return false;
        out.insert(out.end(), first, first + 4);
        if (io::getF32(first) == -999.0f)
            return true;
        std::uint8_t rest[32];
        if (std::fread(rest, 1, sizeof rest, in) != sizeof rest)
            return false;
        out.insert(out.end(), rest, rest + sizeof rest);
    }
    return false;
}

bool plausible(const PreviousProjectState& s) {
    if (s.objectCount < 1 || s.objectCount > kPreviousProjectObjects || s.sceneryCount < 0 ||
        s.sceneryCount > kProjectSceneryMax || (s.terrainPresent != 0 && s.terrainPresent != 1))
        return false;
    for (int i = 0; i < s.objectCount; ++i) {
        const std::int32_t role = s.objectRoles[static_cast<std::size_t>(i)];
        if (role != model::kRoleInteractive && role != model::kRoleDynamic &&
            role != model::kRoleStatic)
            return false;
    }
    return true;
}

std::string nameText(const std::array<char, kPreviousObjectNameChars>& field) {
    const auto end = std::find(field.begin(), field.end(), '\0');
    return std::string(field.begin(), end);
}

} // namespace

PreviousProjectStateImage encodePreviousProjectState(const PreviousProjectState& s) {
    PreviousProjectStateImage image{};
    io::ByteWriter w(image);
    PreviousProjectState copy = s;
    walkPrevious(w, copy);
    return image;
}

PreviousProjectState
decodePreviousProjectState(std::span<const std::uint8_t, kPreviousProjectStateSize> in) {
    PreviousProjectState s;
    io::ByteReader r(in);
    walkPrevious(r, s);
    s.projectName.back() = '\0';
    s.terrainName.back() = '\0';
    for (auto& n : s.sceneryNames)
        n.back() = '\0';
    for (auto& n : s.objectNames)
        n.back() = '\0';
    return s;
}

ProjectState mapPreviousProjectState(const PreviousProjectState& p) {
    ProjectState s = newProjectState();
    s.objectCount = p.objectCount;
    s.observeMode = p.observeMode != 0 ? 1 : 0;
    s.collisionOn = p.collisionOn != 0 ? 1 : 0;
    s.cameraFollows = std::clamp(p.cameraFollows, 0, std::max(0, p.objectCount - 1));
    s.sceneryCount = p.sceneryCount;
    s.sceneryTriangles = p.sceneryTriangles;
    if (std::isfinite(p.sunAngle))
        s.sunAngle = p.sunAngle;
    if (std::isfinite(p.gravity))
        s.gravity = p.gravity;
    s.projectName = p.projectName;
    s.sceneryNames = p.sceneryNames;
    int collision = 0;
    for (int i = 0; i < std::min(p.objectCount, kPreviousProjectObjects); ++i) {
        const std::int32_t role = p.objectRoles[static_cast<std::size_t>(i)];
        if (role == model::kRoleInteractive || role == model::kRoleStatic)
            ++collision;
    }
    s.collisionObjects = collision;
    // The terrain is not carried over: the current terrain needs data the
    // previous version did not store.
    s.terrainPresent = 0;
    s.terrainTriangles = 0;
    return s;
}

ProjectConversion convertProject(const std::filesystem::path& oldFile,
                                 const std::filesystem::path& newFile, MessagePort& messages) {
    ProjectConversion result;
    geom::FileHandle in(kv::openFile(oldFile, "rb"));
    if (!in) {
        messages.showMessage(model::kNoValidFileMessage);
        return result;
    }
    std::int32_t size = 0;
    if (!readI32(in.get(), size) || size != kPreviousProjectStateTag) {
        messages.showMessage(kProjectTooOldMessage);
        return result;
    }
    PreviousProjectStateImage image{};
    if (std::fread(image.data(), 1, image.size(), in.get()) != image.size()) {
        messages.showMessage(kProjectDamagedMessage);
        return result;
    }
    const PreviousProjectState previous = decodePreviousProjectState(image);
    if (!plausible(previous)) {
        messages.showMessage(kProjectDamagedMessage);
        return result;
    }

    PreferenceImage prefs{};
    std::int32_t prefsSize = 0;
    if (!readI32(in.get(), prefsSize) || prefsSize < 0 || prefsSize > kMaxSkippedPreferences) {
        messages.showMessage(kProjectDamagedMessage);
        return result;
    }
    if (prefsSize == static_cast<std::int32_t>(kPreferenceRecordSize)) {
        if (std::fread(prefs.data(), 1, prefs.size(), in.get()) != prefs.size()) {
            messages.showMessage(kProjectDamagedMessage);
            return result;
        }
    } else {
        std::vector<std::uint8_t> skipped(static_cast<std::size_t>(prefsSize));
        if (std::fread(skipped.data(), 1, skipped.size(), in.get()) != skipped.size()) {
            messages.showMessage(kProjectDamagedMessage);
            return result;
        }
        Preferences defaults;
        factoryReset(defaults, true);
        prefs = encodePreferences(defaults);
    }

    std::vector<model::ConvertedObject> objects;
    for (int i = 0; i < previous.objectCount; ++i) {
        const auto u = static_cast<std::size_t>(i);
        std::optional<model::ConvertedObject> object = model::readPreviousObject(
            in.get(), nameText(previous.objectNames[u]), previous.objectRoles[u], messages);
        if (!object)
            return result;
        objects.push_back(std::move(*object));
    }
    std::vector<std::uint8_t> scenery;
    for (int i = 0; i < previous.sceneryCount; ++i) {
        if (!copySceneryStream(in.get(), scenery)) {
            messages.showMessage(kProjectDamagedMessage);
            return result;
        }
    }
    in.reset();

    const ProjectStateImage state = encodeProjectState(mapPreviousProjectState(previous));
    const bool written = writeFileAtomically(newFile, [&](std::FILE* out) {
        if (!writeI32(out, kProjectStateTag) ||
            std::fwrite(state.data(), 1, state.size(), out) != state.size() ||
            !writeI32(out, static_cast<std::int32_t>(kPreferenceRecordSize)) ||
            std::fwrite(prefs.data(), 1, prefs.size(), out) != prefs.size())
            return false;
        model::StreamWriter writer(out);
        for (const model::ConvertedObject& object : objects) {
            const model::TriangleSource source{
                object.triangles.size(), [&object](std::size_t k) { return object.triangles[k]; }};
            if (!model::writeMotionBody(writer, object.record, source, {}))
                return false;
        }
        if (!writer.finish())
            return false;
        return std::fwrite(scenery.data(), 1, scenery.size(), out) == scenery.size();
    });
    if (!written) {
        messages.showMessage(model::saveFailedMessage(newFile));
        return result;
    }
    result.converted = true;
    result.terrainDropped = previous.terrainPresent != 0;
    return result;
}

bool upgradeProjectFile(const std::filesystem::path& file, MessagePort& messages) {
    const ProjectVersion version = checkProjectVersion(file, messages);
    if (version != ProjectVersion::kPrevious)
        return version == ProjectVersion::kCurrent;
    const std::optional<std::filesystem::path> backup = model::backupPathFor(file);
    std::error_code ec;
    if (!backup || (std::filesystem::rename(file, *backup, ec), ec)) {
        messages.showMessage(model::saveFailedMessage(file));
        return false;
    }
    const ProjectConversion conversion = convertProject(*backup, file, messages);
    if (!conversion.converted) {
        // Nothing was written under the opened name: the original goes back.
        std::filesystem::rename(*backup, file, ec);
        return false;
    }
    if (conversion.terrainDropped)
        messages.showMessage(kTerrainNotConvertedMessage);
    return true;
}

} // namespace kv::app
