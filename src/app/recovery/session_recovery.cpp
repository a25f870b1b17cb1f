#include "app/recovery/session_recovery.h"

#include "app/document/document.h"
#include "app/document/project_geometry.h"
#include "common/atomic_file.h"
#include "common/file_names.h"
#include "common/processes.h"
#include "model/motion_file.h"
#include "model/motion_store.h"
#include "simulation/record_channels.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <set>
#include <span>
#include <system_error>

namespace kv::app {

namespace fs = std::filesystem;

namespace {

/// Largest session file read (bytes): a process id and two paths.
constexpr std::uintmax_t kMaxSessionFileBytes = 64 * 1024;

constexpr const char* kSessionHeader = "kestrovane session";

bool isTakeFile(const std::string& name) {
    if (name == kRecoveryCameraFile)
        return true;
    return name.rfind("motion", 0) == 0 && name.size() > 10 &&
           name.compare(name.size() - 4, 4, ".kvm") == 0;
}

/// The value after `key` and one space on a line of `text`, if any.
std::optional<std::string> field(const std::string& text, const std::string& key) {
    std::size_t at = 0;
    while (at < text.size()) {
        std::size_t end = text.find('\n', at);
        if (end == std::string::npos)
            end = text.size();
        const std::string_view line(text.data() + at, end - at);
        if (line.size() >= key.size() + 1 && line.substr(0, key.size()) == key &&
            line[key.size()] == ' ')
            return std::string(line.substr(key.size() + 1));
        at = end + 1;
    }
    return std::nullopt;
}

std::optional<RecoverySession> readSession(const fs::path& folder) {
    std::error_code ec;
    const fs::path file = folder / kRecoverySessionFile;
    const auto size = fs::file_size(file, ec);
    if (ec || size > kMaxSessionFileBytes)
        return std::nullopt;
    std::ifstream in(file, std::ios::binary);
    const std::string text{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    if (text.rfind(kSessionHeader, 0) != 0)
        return std::nullopt;
    RecoverySession s;
    s.folder = folder;
    const auto pid = field(text, "pid");
    if (!pid ||
        std::from_chars(pid->data(), pid->data() + pid->size(), s.ownerPid).ec != std::errc())
        return std::nullopt;
    if (const auto project = field(text, "project"); project && !project->empty())
        s.projectFile = fs::path(*project);
    s.projectName = field(text, "name").value_or(std::string());
    s.hasProjectCopy = fs::is_regular_file(folder / kRecoveryProjectFile, ec);
    for (const auto& e : fs::directory_iterator(folder, ec)) {
        if (isTakeFile(utf8Name(e.path().filename())))
            ++s.takes;
    }
    return s;
}

fs::file_time_type lastWritten(const fs::path& folder) {
    std::error_code ec;
    fs::file_time_type newest = fs::last_write_time(folder / kRecoverySessionFile, ec);
    for (const auto& e : fs::directory_iterator(folder, ec)) {
        std::error_code t;
        newest = std::max(newest, fs::last_write_time(e.path(), t));
    }
    return newest;
}

} // namespace

std::string recoveryMotionFileName(int slot) {
    return "motion" + std::to_string(slot) + ".kvm";
}

SessionRecovery::SessionRecovery(fs::path root)
    : folder_(std::move(root) /
              (std::string(kRecoverySessionPrefix) + std::to_string(currentProcessId()))) {}

bool SessionRecovery::writeSessionFile(const Document& document) {
    std::error_code ec;
    fs::create_directories(folder_, ec);
    std::string text = std::string(kSessionHeader) + "\n";
    text += "pid " + std::to_string(currentProcessId()) + "\n";
    text += "project " + (document.hasFile() ? utf8Name(document.projectPath()) : "") + "\n";
    text += "name " + document.projectName() + "\n";
    return writeFileAtomically(folder_ / kRecoverySessionFile, [&](std::FILE* out) {
        return std::fwrite(text.data(), 1, text.size(), out) == text.size();
    });
}

bool SessionRecovery::writeTakes(Document& document, MessagePort& messages) {
    if (!writeSessionFile(document)) {
        messages.showMessage("The recovery data could not be written.");
        return false;
    }
    const sim::RunState& run = document.run();
    std::set<std::string> written;
    bool ok = true;
    const auto framesOf = [](const sim::RecordChannel& channel) {
        return std::span<const model::MotionFrame>(channel.frames)
            .first(static_cast<std::size_t>(
                std::clamp<int>(channel.count, 0, static_cast<int>(channel.frames.size()))));
    };
    for (int i = 0; i < document.objectCount(); ++i) {
        const model::ObjectRecord& r = document.object(i);
        if (r.role != model::kRoleInteractive || r.recordChannel < 0 ||
            r.recordChannel >= sim::kCameraChannel)
            continue;
        const sim::RecordChannel& channel =
            run.channels.channels[static_cast<std::size_t>(r.recordChannel)];
        if (channel.count <= 0)
            continue;
        const std::string name = recoveryMotionFileName(i);
        ok = model::saveLiveMotion(folder_ / name, r, triangleSourceOf(document.meshes(), i),
                                   framesOf(channel), messages) &&
             ok;
        written.insert(name);
    }
    const sim::RecordChannel& camera = run.channels.channels[sim::kCameraChannel];
    if (camera.count > 0) {
        ok = model::saveLiveMotion(folder_ / kRecoveryCameraFile,
                                   document.object(document.cameraSlot()), model::TriangleSource{},
                                   framesOf(camera), messages) &&
             ok;
        written.insert(kRecoveryCameraFile);
    }
    std::error_code ec;
    for (const auto& e : fs::directory_iterator(folder_, ec)) {
        const std::string name = utf8Name(e.path().filename());
        if (isTakeFile(name) && written.count(name) == 0) {
            std::error_code r;
            fs::remove(e.path(), r);
        }
    }
    return ok;
}

bool SessionRecovery::writeProject(Document& document, MessagePort& messages) {
    std::error_code ec;
    if (!document.modified()) {
        fs::remove(folder_ / kRecoveryProjectFile, ec);
        bool takes = false;
        for (const auto& e : fs::directory_iterator(folder_, ec))
            takes = takes || isTakeFile(utf8Name(e.path().filename()));
        if (!takes) {
            // Nothing a recovery could bring back: leave no folder behind.
            clear();
            return true;
        }
    }
    fs::create_directories(folder_, ec);
    bool ok = true;
    if (document.modified())
        ok = document.writeProjectCopy(folder_ / kRecoveryProjectFile);
    if (!writeSessionFile(document)) {
        messages.showMessage("The recovery data could not be written.");
        return false;
    }
    return ok;
}

void SessionRecovery::clear() {
    std::error_code ec;
    fs::remove_all(folder_, ec);
}

std::vector<RecoverySession> sessionsLeftBehind(const fs::path& root) {
    std::vector<std::pair<fs::file_time_type, RecoverySession>> found;
    std::error_code ec;
    const long self = currentProcessId();
    for (const auto& e : fs::directory_iterator(root, ec)) {
        const std::string name = utf8Name(e.path().filename());
        std::error_code d;
        if (name.rfind(kRecoverySessionPrefix, 0) != 0 || !e.is_directory(d))
            continue;
        auto session = readSession(e.path());
        if (!session || session->ownerPid == self || processIsRunning(session->ownerPid))
            continue;
        if (!session->hasProjectCopy && session->takes == 0) {
            // A program that ended with nothing to recover: its folder is litter.
            std::error_code r;
            fs::remove_all(e.path(), r);
            continue;
        }
        found.emplace_back(lastWritten(e.path()), std::move(*session));
    }
    std::sort(found.begin(), found.end(),
              [](const auto& a, const auto& b) { return a.first > b.first; });
    std::vector<RecoverySession> out;
    for (auto& f : found)
        out.push_back(std::move(f.second));
    return out;
}

bool setSessionAside(const RecoverySession& session) {
    const fs::path parent = session.folder.parent_path();
    const std::string base = kRecoveryDeclinedPrefix + utf8Name(session.folder.filename());
    std::error_code ec;
    for (int n = 0; n < 1000; ++n) {
        const fs::path target = parent / (n == 0 ? base : base + "-" + std::to_string(n));
        if (fs::exists(target, ec))
            continue;
        fs::rename(session.folder, target, ec);
        return !ec;
    }
    return false;
}

void removeSession(const RecoverySession& session) {
    std::error_code ec;
    fs::remove_all(session.folder, ec);
}

bool recoverSession(const RecoverySession& session, Document& document, MessagePort& messages) {
    const fs::path project = session.hasProjectCopy ? session.folder / kRecoveryProjectFile
                                                    : session.projectFile.value_or(fs::path());
    if (!project.empty()) {
        if (!document.openProject(project))
            return false;
        if (session.hasProjectCopy)
            document.adoptRecoveredProject(session.projectFile, session.projectName);
    }
    sim::RunState& run = document.run();
    const auto restore = [&](const fs::path& file, sim::RecordChannel& channel) {
        std::error_code ec;
        if (!fs::is_regular_file(file, ec))
            return;
        model::MotionStore store;
        const int capacity = static_cast<int>(channel.frames.size());
        // One place more than the channel holds, for the end marker.
        if (capacity <= 0 || !store.allocate(1, capacity + 1))
            return;
        model::ObjectRecord record;
        const model::GeometryIntake ignoreGeometry{[] {},
                                                   [](const std::array<double, 12>&) { return 1; }};
        bool report = true;
        if (!model::loadMotion(file, model::MotionTarget{0, &record, ignoreGeometry}, store, report,
                               messages))
            return;
        const int count = std::min(store.lastFrame(0) + 1, capacity);
        const auto frames = store.frames(0).first(static_cast<std::size_t>(std::max(count, 0)));
        std::copy(frames.begin(), frames.end(), channel.frames.begin());
        channel.count = std::max(count, 0);
    };
    for (int i = 0; i < document.objectCount(); ++i) {
        const model::ObjectRecord& r = document.object(i);
        if (r.role != model::kRoleInteractive || r.recordChannel < 0 ||
            r.recordChannel >= sim::kCameraChannel)
            continue;
        restore(session.folder / recoveryMotionFileName(i),
                run.channels.channels[static_cast<std::size_t>(r.recordChannel)]);
    }
    restore(session.folder / kRecoveryCameraFile, run.channels.channels[sim::kCameraChannel]);
    return true;
}

} // namespace kv::app
