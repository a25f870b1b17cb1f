#include "app/document/project_file.h"

#include "app/document/project_geometry.h"
#include "app/settings/memory_settings.h"
#include "common/atomic_file.h"
#include "common/file_names.h"
#include "common/le_io.h"
#include "geometry/working_files.h"
#include "model/motion_file.h"
#include "model/motion_stream.h"
#include "model/object_file.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

namespace kv::app {
namespace {

using geom::FileHandle;

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

bool skipBytes(std::FILE* in, std::int32_t n) {
    std::vector<std::uint8_t> scratch(4096);
    while (n > 0) {
        const auto chunk = static_cast<std::size_t>(std::min<std::int32_t>(n, 4096));
        if (std::fread(scratch.data(), 1, chunk, in) != chunk)
            return false;
        n -= static_cast<std::int32_t>(chunk);
    }
    return true;
}

/// Largest block size the version test will skip; anything larger is not a
/// block of any version.
constexpr std::int32_t kMaxSkippedBlock = 1 << 20;

/// The state block with the store-derived fields brought up to date.
ProjectState stateToSave(const ProjectContents& p) {
    ProjectState s = p.state;
    const int sets = std::min(p.scenery.count(), kProjectSceneryMax);
    s.sceneryCount = sets;
    s.sceneryTriangles.fill(0);
    for (int i = 0; i < kProjectSceneryMax; ++i) {
        const auto u = static_cast<std::size_t>(i);
        if (i < sets) {
            const geom::SceneSetInfo& info = p.scenery.set(i);
            s.sceneryTriangles[u] = info.triangleCount;
            setProjectName(s.sceneryNames[u], info.baseName);
            s.sceneryAppearance[u] = {info.color, info.transparency};
            s.sceneryTransforms[u] = info.transform;
        } else {
            s.sceneryNames[u].fill('\0');
            s.sceneryAppearance[u] = {geom::kNewSetColor, geom::kNewSetTransparency};
            s.sceneryTransforms[u] = model::GeometryTransform{};
        }
    }
    s.terrainPresent = p.terrain.present() ? 1 : 0;
    if (p.terrain.present()) {
        s.terrainTriangles = p.terrain.info().triangleCount;
        setProjectName(s.terrainName, p.terrain.info().baseName);
        s.terrainTransform = p.terrain.info().transform;
    } else {
        s.terrainTriangles = 0;
        s.terrainName.fill('\0');
        s.terrainTransform = model::GeometryTransform{};
    }
    int collision = 0;
    const int count = std::clamp(s.objectCount, 0, static_cast<int>(p.objects.size()));
    for (int i = 0; i < count; ++i) {
        const std::int32_t role = p.objects[static_cast<std::size_t>(i)].role;
        if (role == model::kRoleInteractive || role == model::kRoleStatic)
            ++collision;
    }
    s.collisionObjects = collision;
    return s;
}

bool writeProjectBody(std::FILE* out, const ProjectContents& p, const ProjectState& s,
                      MessagePort& messages) {
    const ProjectStateImage state = encodeProjectState(s);
    const PreferenceImage prefs = encodePreferences(p.preferences);
    if (!writeI32(out, kProjectStateTag) ||
        std::fwrite(state.data(), 1, state.size(), out) != state.size() ||
        !writeI32(out, static_cast<std::int32_t>(kPreferenceRecordSize)) ||
        std::fwrite(prefs.data(), 1, prefs.size(), out) != prefs.size())
        return false;
    model::StreamWriter writer(out);
    for (int i = 0; i < s.objectCount; ++i) {
        std::span<const model::MotionFrame> frames;
        if (i > 0 && p.motions.validSlot(i) && p.motions.lastFrame(i) >= 0) {
            const auto n = static_cast<std::size_t>(p.motions.lastFrame(i)) + 1;
            frames = std::span<const model::MotionFrame>(p.motions.frames(i))
                         .first(std::min(n, p.motions.frames(i).size()));
        }
        if (!model::writeMotionBody(writer, p.objects[static_cast<std::size_t>(i)],
                                    triangleSourceOf(p.meshes, i), frames))
            return false;
    }
    if (!writer.finish())
        return false;
    for (int i = 0; i < s.sceneryCount; ++i) {
        if (!p.scenery.writeStream(i, out, messages))
            return false;
    }
    if (s.terrainPresent != 0 && !p.terrain.writeStream(out, messages))
        return false;
    return true;
}

geom::SceneSetInfo setInfoOf(const ProjectState& s, int i) {
    const auto u = static_cast<std::size_t>(i);
    geom::SceneSetInfo info;
    info.transform = s.sceneryTransforms[u];
    info.color = s.sceneryAppearance[u][0];
    info.transparency = s.sceneryAppearance[u][1];
    info.triangleCount = std::max(0, s.sceneryTriangles[u]);
    info.baseName = projectNameText(s.sceneryNames[u]);
    return info;
}

bool finitePositive(float v) {
    return std::isfinite(v) && v > 0.0f;
}

} // namespace

std::string tooManyObjectsMessage(int fileObjects, int slots) {
    return "The project file cannot be loaded because it contains " +
           std::to_string(fileObjects - 1) +
           " objects. The current memory settings limit the number of objects to " +
           std::to_string(slots - 2) + ".";
}

std::string resolutionChangedMessage(int fileResolution, int currentResolution) {
    const std::string f = std::to_string(fileResolution);
    const std::string c = std::to_string(currentResolution);
    return "The terrain resolution in the project file is " + f + " by " + f +
           " and is currently set to " + c + " by " + c + ".";
}

ProjectVersion checkProjectVersion(const std::filesystem::path& file, MessagePort& messages) {
    FileHandle in(kv::openFile(file, "rb"));
    if (!in) {
        messages.showMessage(model::kNoValidFileMessage);
        return ProjectVersion::kRefused;
    }
    return checkProjectVersion(in.get(), messages);
}

ProjectVersion checkProjectVersion(std::FILE* in, MessagePort& messages) {
    std::int32_t stateSize = 0;
    if (!readI32(in, stateSize) ||
        (stateSize != kProjectStateTag && stateSize != kPreviousProjectStateTag)) {
        messages.showMessage(kProjectTooOldMessage);
        return ProjectVersion::kRefused;
    }
    std::int32_t prefsSize = 0;
    std::int32_t objectSize = 0;
    const bool readable = skipBytes(in, stateSize) && readI32(in, prefsSize) && prefsSize >= 0 &&
                          prefsSize <= kMaxSkippedBlock && skipBytes(in, prefsSize) &&
                          readI32(in, objectSize);
    if (!readable) {
        messages.showMessage(kProjectDamagedMessage);
        return ProjectVersion::kRefused;
    }
    if (stateSize == kProjectStateTag &&
        prefsSize == static_cast<std::int32_t>(kPreferenceRecordSize)) {
        if (objectSize == model::kObjectRecordTag)
            return ProjectVersion::kCurrent;
        if (objectSize != model::kPreviousObjectRecordTag) {
            messages.showMessage(model::kMoreThanOneVersionOldMessage);
            return ProjectVersion::kRefused;
        }
    } else if (objectSize != model::kPreviousObjectRecordTag) {
        messages.showMessage(kProjectTooOldMessage);
        return ProjectVersion::kRefused;
    }
    // Previous-version objects: a previous-version state block is converted.
    // Previous objects behind a current block belong to no version this
    // program wrote, and are refused.
    if (stateSize == kPreviousProjectStateTag)
        return ProjectVersion::kPrevious;
    messages.showMessage(kProjectTooOldMessage);
    return ProjectVersion::kRefused;
}

bool saveProject(const std::filesystem::path& file, const ProjectContents& project,
                 MessagePort& messages) {
    const ProjectState s = stateToSave(project);
    const int count = s.objectCount;
    const bool countsFit = count >= 1 && count <= static_cast<int>(project.objects.size()) &&
                           count <= project.meshes.slotCount();
    NullMessages quiet;
    const bool ok = countsFit && writeFileAtomically(file, [&](std::FILE* out) {
                        return writeProjectBody(out, project, s, quiet);
                    });
    if (!ok)
        messages.showMessage(model::saveFailedMessage(file));
    return ok;
}

ProjectLoadResult loadProject(const std::filesystem::path& file, const ProjectContents& project,
                              MessagePort& messages) {
    FileHandle in(kv::openFile(file, "rb"));
    if (!in) {
        messages.showMessage(model::kNoValidFileMessage);
        return {};
    }
    return loadProject(in.get(), project, messages);
}

ProjectLoadResult loadProject(std::FILE* in, const ProjectContents& project,
                              MessagePort& messages) {
    ProjectLoadResult result;
    std::int32_t size = 0;
    if (!readI32(in, size) || size != kProjectStateTag) {
        messages.showMessage(kProjectOldVersionMessage);
        return result;
    }
    ProjectStateImage stateImage{};
    if (std::fread(stateImage.data(), 1, stateImage.size(), in) != stateImage.size()) {
        messages.showMessage(kProjectDamagedMessage);
        return result;
    }
    ProjectState state;
    decodeProjectState(stateImage, state);

    PreferenceImage prefsImage{};
    if (!readI32(in, size) || size != static_cast<std::int32_t>(kPreferenceRecordSize) ||
        std::fread(prefsImage.data(), 1, prefsImage.size(), in) != prefsImage.size()) {
        messages.showMessage(kProjectDamagedMessage);
        return result;
    }
    Preferences prefs;
    decodePreferences(prefsImage, prefs);
    const MemorySettings inForce = memorySettingsOf(project.preferences);
    const int fileResolution = prefs.terrainGrid;
    setMemorySettings(prefs, inForce);
    if (!finitePositive(prefs.simTimeStep) || !finitePositive(prefs.framePeriod))
        factoryReset(prefs, false);

    // The last slot is the camera and one more is held back, so a project may
    // fill every slot but two.
    const int slots = inForce.objectSlots;
    const int usable =
        std::min({maxProjectObjects(inForce), static_cast<int>(project.objects.size()) - 1,
                  project.meshes.slotCount() - 1, project.motions.slotCount() - 1});
    if (state.objectCount > usable) {
        messages.showMessage(tooManyObjectsMessage(state.objectCount, slots));
        return result;
    }
    if (state.objectCount < 1 || state.sceneryCount < 0 ||
        state.sceneryCount > kProjectSceneryMax ||
        (state.terrainPresent != 0 && state.terrainPresent != 1)) {
        messages.showMessage(kProjectDamagedMessage);
        return result;
    }
    project.state = state;
    project.preferences = prefs;

    bool reportErrors = true;
    for (int i = 0; i < state.objectCount; ++i) {
        model::MotionTarget target;
        target.slot = i;
        target.record = &project.objects[static_cast<std::size_t>(i)];
        target.geometry = geometryIntakeOf(project.meshes, i);
        project.motions.clearSlot(i);
        if (!model::readMotion(in, target, project.motions, reportErrors, messages))
            return result;
    }
    // Object 0's motion is saved on its own; a project never restores one.
    project.motions.clearSlot(0);

    project.scenery.clear();
    for (int i = 0; i < state.sceneryCount; ++i) {
        if (!project.scenery.readStream(in, setInfoOf(state, i), messages))
            return result;
    }
    project.terrain.discardTerrain();
    if (state.terrainPresent != 0) {
        geom::SceneSetInfo info;
        info.transform = state.terrainTransform;
        info.triangleCount = std::max(0, state.terrainTriangles);
        info.baseName = projectNameText(state.terrainName);
        if (!project.terrain.readStream(in, info, messages))
            return result;
    }
    if (fileResolution != inForce.terrainGrid) {
        result.status = ProjectLoad::kResolutionChanged;
        result.message = resolutionChangedMessage(fileResolution, inForce.terrainGrid);
        return result;
    }
    result.status = ProjectLoad::kLoaded;
    return result;
}

} // namespace kv::app
