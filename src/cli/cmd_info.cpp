// kestrovane-cli info: describes an object, motion or DXF file as one JSON object.

#include "app/document/document.h"
#include "app/document/project_convert.h"
#include "app/document/project_file.h"
#include "app/settings/memory_settings.h"
#include "cli/command.h"
#include "cli/document_answers.h"
#include "cli/interrupts.h"
#include "cli/json_text.h"
#include "cli/stderr_messages.h"
#include "common/file_names.h"
#include "geometry/dxf_reader.h"
#include "geometry/face_split.h"
#include "geometry/working_files.h"
#include "model/motion_file.h"
#include "model/motion_store.h"
#include "model/object_file.h"
#include "model/object_file_convert.h"
#include "model/object_model.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <limits>
#include <memory>
#include <string>
#include <vector>

namespace kv::cli {
namespace {

namespace fs = std::filesystem;

constexpr const char* kInfoHelp =
    "usage: kestrovane-cli info FILE\n"
    "\n"
    "Describes FILE as one JSON object on stdout.\n"
    "\n"
    "  FILE.kvo  object file: kind \"object\", name, vehicleType, role, effectors\n"
    "            (name and kind of each) and triangles\n"
    "  FILE.kvm  motion file: the same as an object, and frames and duration\n"
    "            (the time of the last frame, s)\n"
    "  FILE.dxf  DXF file: kind \"dxf\", faces (3DFACE entities), triangles and\n"
    "            bounds (min and max x, y, z in metres, forward, right, down, read\n"
    "            with the default transform; null when there is no triangle)\n"
    "\n"
    "  FILE.kvp  project file: kind \"project\", name, objects (each as an object,\n"
    "            with frames and duration of its stored motion), scenery (name and\n"
    "            triangles of each set) and terrain (name and triangles, or null)\n"
    "\n"
    "  --help    show this text\n";

constexpr const char* kPrefix = "kestrovane-cli info";

int usageError(const std::string& why) {
    std::fprintf(stderr, "%s: %s\n\n%s", kPrefix, why.c_str(), kInfoHelp);
    return kExitUsage;
}

int failure(const std::string& why) {
    std::fprintf(stderr, "%s: %s\n", kPrefix, why.c_str());
    return kExitFailure;
}

std::string lowerExtension(const fs::path& file) {
    std::string ext = utf8Name(file.extension());
    for (char& c : ext)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return ext;
}

std::string vehicleTypeName(std::int32_t type) {
    switch (type) {
    case model::kVehicleNone:
        return jsonString("none");
    case model::kVehicleCar:
        return jsonString("car");
    case model::kVehicleMotorcycle:
        return jsonString("motorcycle");
    case model::kVehicleAircraft:
        return jsonString("aircraft");
    case model::kVehicleHelicopter:
        return jsonString("helicopter");
    default:
        return std::to_string(type);
    }
}

std::string roleName(std::int32_t role) {
    switch (role) {
    case model::kRoleInteractive:
        return jsonString("interactive");
    case model::kRoleDynamic:
        return jsonString("dynamic");
    case model::kRoleStatic:
        return jsonString("static");
    default:
        return std::to_string(role);
    }
}

std::string effectorKindName(std::int32_t kind) {
    switch (kind) {
    case model::kEffectorBasic:
        return jsonString("basic");
    case model::kEffectorTire:
        return jsonString("tire");
    case model::kEffectorBlade:
        return jsonString("blade");
    case model::kEffectorSound:
        return jsonString("sound");
    case model::kEffectorSkid:
        return jsonString("skid");
    default:
        return std::to_string(kind);
    }
}

/// The fields an object and a motion file share, without the closing brace.
std::string objectJson(const char* kind, const model::ObjectRecord& r, int triangles) {
    std::string out = "{\"kind\": " + jsonString(kind);
    out += ", \"name\": " + jsonString(model::recordName(r.name));
    out += ", \"vehicleType\": " + vehicleTypeName(r.vehicleType);
    out += ", \"role\": " + roleName(r.role);
    out += ", \"effectors\": [";
    const int count = std::clamp(r.effectorCount, 0, model::kMaxEffectors);
    for (int i = 0; i < count; ++i) {
        const auto& e = r.effectors[static_cast<std::size_t>(i)];
        if (i > 0)
            out += ", ";
        out += "{\"name\": " + jsonString(model::recordName(e.name)) +
               ", \"kind\": " + effectorKindName(e.kind) + "}";
    }
    out += "], \"triangles\": " + std::to_string(triangles);
    return out;
}

/// Counts the triangles a reader hands over without keeping them.
model::GeometryIntake countingIntake(int& triangles) {
    return model::GeometryIntake{[&triangles] { triangles = 0; },
                                 [&triangles](const std::array<double, 12>&) {
                                     ++triangles;
                                     return 1;
                                 }};
}

struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};

int infoObject(const fs::path& file, MessagePort& messages) {
    std::unique_ptr<std::FILE, FileCloser> in(kv::openFile(file, "rb"));
    if (!in) {
        messages.showMessage(model::kNoValidFileMessage);
        return kExitFailure;
    }
    model::ObjectRecord record;
    int triangles = 0;
    switch (model::checkFileVersion(in.get(), messages)) {
    case model::kVersionCurrent:
        if (!model::readObjectFile(in.get(),
                                   model::MotionTarget{0, &record, countingIntake(triangles)},
                                   false, messages)) {
            return kExitFailure;
        }
        break;
    case model::kVersionPrevious: {
        // Described from an in-memory conversion: looking at a file never rewrites it.
        const auto converted = model::readPreviousObject(in.get(), utf8Name(file.stem()),
                                                         model::kRoleInteractive, messages);
        if (!converted)
            return kExitFailure;
        record = converted->record;
        triangles = static_cast<int>(converted->triangles.size());
        break;
    }
    default:
        return kExitFailure;
    }
    std::printf("%s}\n", objectJson("object", record, triangles).c_str());
    return kExitOk;
}

int infoMotion(const fs::path& file, StderrMessages& messages) {
    model::MotionStore store;
    // One place more than the longest recording, for its end marker.
    if (!store.allocate(1, app::kMaxRecordFrames + 1))
        return failure("there is not enough memory to read the motion file");
    model::ObjectRecord record;
    int triangles = 0;
    bool reportErrors = true;
    if (!model::loadMotion(file, model::MotionTarget{0, &record, countingIntake(triangles)}, store,
                           reportErrors, messages)) {
        return kExitFailure;
    }
    // A read that succeeds with a message has cut the motion short (more
    // frames than a recording can hold): its frame count would be wrong.
    if (messages.count() > 0)
        return kExitFailure;
    const int last = store.lastFrame(0);
    const double duration = last >= 0 ? static_cast<double>(store.frames(
                                            0)[static_cast<std::size_t>(last)][model::kFrameTime])
                                      : 0.0;
    std::string out = objectJson("motion", record, triangles);
    out += ", \"frames\": " + std::to_string(last + 1);
    out += ", \"duration\": " + jsonNumber(duration) + "}";
    std::printf("%s\n", out.c_str());
    return kExitOk;
}

int infoDxf(const fs::path& file, MessagePort& messages) {
    std::error_code ec;
    const std::uintmax_t size = fs::file_size(file, ec);
    if (ec) {
        messages.showMessage(model::kNoValidFileMessage);
        return kExitFailure;
    }
    long long faces = 0;
    long long triangles = 0;
    std::array<double, 3> lo{};
    std::array<double, 3> hi{};
    lo.fill(std::numeric_limits<double>::infinity());
    hi.fill(-std::numeric_limits<double>::infinity());
    const auto onFace = [&](const std::array<double, 12>& c, float) {
        ++faces;
        if (!std::all_of(c.begin(), c.end(), [](double v) { return std::isfinite(v); }))
            return 1;
        std::array<geom::Corner<double>, 4> corners{};
        for (std::size_t k = 0; k < 4; ++k)
            corners[k] = {c[3 * k], c[3 * k + 1], c[3 * k + 2]};
        std::array<geom::Triangle<double>, 2> split{};
        const int n = geom::splitFace(corners, split);
        for (int t = 0; t < n; ++t) {
            for (const auto& p : split[static_cast<std::size_t>(t)]) {
                for (std::size_t a = 0; a < 3; ++a) {
                    lo[a] = std::min(lo[a], p[a]);
                    hi[a] = std::max(hi[a], p[a]);
                }
            }
        }
        triangles += n;
        return 1;
    };
    if (geom::readDxf(file, static_cast<std::uint64_t>(size), model::GeometryTransform{}, onFace,
                      messages) == 0) {
        return kExitFailure;
    }
    std::string out = "{\"kind\": \"dxf\", \"faces\": " + std::to_string(faces) +
                      ", \"triangles\": " + std::to_string(triangles) + ", \"bounds\": ";
    if (triangles == 0) {
        out += "null";
    } else {
        const auto vec = [](const std::array<double, 3>& v) {
            return "[" + jsonNumber(v[0]) + ", " + jsonNumber(v[1]) + ", " + jsonNumber(v[2]) + "]";
        };
        out += "{\"min\": " + vec(lo) + ", \"max\": " + vec(hi) + "}";
    }
    std::printf("%s}\n", out.c_str());
    return kExitOk;
}

/// A scenery set or the terrain: its source file name and its triangles.
std::string sceneSetJson(const geom::SceneSetInfo& info) {
    return "{\"name\": " + jsonString(info.baseName) +
           ", \"triangles\": " + std::to_string(info.triangleCount) + "}";
}

/// The memory settings a project was saved with, so that every object and
/// motion in it is described whole; the factory settings when the file does
/// not hold usable ones (the open then reports what is wrong).
app::MemorySettings projectMemory(const fs::path& file) {
    std::unique_ptr<std::FILE, FileCloser> in(kv::openFile(file, "rb"));
    // The preference block follows the state block, each after its size word.
    constexpr long kPreferencesAt = 4 + static_cast<long>(app::kProjectStateSize) + 4;
    app::PreferenceImage image{};
    if (!in || std::fseek(in.get(), kPreferencesAt, SEEK_SET) != 0 ||
        std::fread(image.data(), 1, image.size(), in.get()) != image.size())
        return app::kFactoryMemory;
    app::Preferences prefs;
    app::decodePreferences(image, prefs);
    const app::MemorySettings memory = app::memorySettingsOf(prefs);
    if (!app::memorySettingsInRange(memory) || memory.objectSlots < app::kFactoryMemory.objectSlots)
        return app::kFactoryMemory;
    return memory;
}

int infoProject(const fs::path& file, StderrMessages& messages) {
    catchInterrupts();
    const auto folder = geom::PrivateWorkingFolder::create();
    if (!folder)
        return failure("cannot create a working folder");
    InterruptibleProgress progress(std::make_unique<NullProgress>());
    DocumentAnswers answers;
    app::Document document(app::DocumentPorts{messages, progress, answers, answers, *folder});
    const app::MemorySettings memory = projectMemory(file);
    if (!document.allocate(memory, true, std::nullopt))
        return failure("there is not enough memory to read the project");
    // A previous-version project is described as converted, without
    // converting the file itself: the conversion goes to the working folder.
    fs::path opened = file;
    NullMessages quiet;
    if (app::checkProjectVersion(file, quiet) == app::ProjectVersion::kPrevious) {
        opened = folder->folder() / file.filename();
        if (!app::convertProject(file, opened, messages).converted)
            return kExitFailure;
    }
    if (!document.openProject(opened) || interrupted())
        return interrupted() ? interruptedExit(kPrefix) : kExitFailure;

    std::string out = "{\"kind\": \"project\", \"name\": " + jsonString(document.projectName());
    out += ", \"objects\": [";
    for (int i = 0; i < document.objectCount(); ++i) {
        if (i > 0)
            out += ", ";
        const int last = document.motions().lastFrame(i);
        const double duration = last >= 0
                                    ? static_cast<double>(document.motions().frames(
                                          i)[static_cast<std::size_t>(last)][model::kFrameTime])
                                    : 0.0;
        out += objectJson("object", document.object(i), document.meshes().triangleCount(i));
        out += ", \"frames\": " + std::to_string(last + 1);
        out += ", \"duration\": " + jsonNumber(duration) + "}";
    }
    out += "], \"scenery\": [";
    for (int s = 0; s < document.scenery().count(); ++s) {
        if (s > 0)
            out += ", ";
        out += sceneSetJson(document.scenery().set(s));
    }
    out += "], \"terrain\": ";
    out += document.terrain().present() ? sceneSetJson(document.terrain().info()) : "null";
    std::printf("%s}\n", out.c_str());
    return kExitOk;
}

int runInfo(const std::vector<std::string>& args) {
    std::string input;
    for (const std::string& a : args) {
        if (a == "--help" || a == "-h") {
            std::fputs(kInfoHelp, stdout);
            return kExitOk;
        }
        if (a.size() > 1 && a[0] == '-')
            return usageError("unknown option " + a);
        if (!input.empty())
            return usageError("more than one file given");
        input = a;
    }
    if (input.empty())
        return usageError("no file given");

    const fs::path file = pathFromUtf8(input);
    const std::string ext = lowerExtension(file);
    StderrMessages messages(kPrefix);
    if (ext == ".kvo")
        return infoObject(file, messages);
    if (ext == ".kvm")
        return infoMotion(file, messages);
    if (ext == ".dxf")
        return infoDxf(file, messages);
    if (ext == ".kvp")
        return infoProject(file, messages);
    return failure("cannot tell what kind of file " + input +
                   " is: expected .kvo, .kvm, .kvp or .dxf");
}

const CommandRegistrar kInfo{
    Command{"info", "describe an object, motion, project or DXF file as JSON", runInfo}};

} // namespace
} // namespace kv::cli
