#pragma once
/// Recovery after a crash, a kill or a power cut: each running desktop program
/// keeps, in a folder of its own under the user's recovery folder, the takes
/// of its last run (written when the run ends) and, from time to time, a copy
/// of its modified project. A clean exit removes the folder; a folder whose
/// program is no longer running is what the next start offers to recover.
///
/// Layout of one session folder ("session-<process id>"):
///   session        text: the owner's process id, the project's file and name
///   project.kvp    the project, when it was modified
///   motion<N>.kvm  the take of object slot N, as Save Motion As writes it
///   camera.kvm     the camera's take, as Save Camera As writes it
/// Every file is replaced whole (written beside, then renamed), so a crash
/// while writing leaves the previous file.

#include "common/ports/messages.h"

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace kv::app {

class Document;

inline constexpr const char* kRecoveryProjectFile = "project.kvp";
inline constexpr const char* kRecoveryCameraFile = "camera.kvm";
inline constexpr const char* kRecoverySessionFile = "session";
/// Start of a session folder's name; the owner's process id follows.
inline constexpr const char* kRecoverySessionPrefix = "session-";
/// Start of the name a declined session is moved to.
inline constexpr const char* kRecoveryDeclinedPrefix = "declined-";

/// "motion<slot>.kvm".
std::string recoveryMotionFileName(int slot);

/// What a session folder says about the project it belongs to.
struct RecoverySession {
    std::filesystem::path folder;
    long ownerPid = 0;
    /// The project's own file; none when it was never saved.
    std::optional<std::filesystem::path> projectFile;
    std::string projectName;
    bool hasProjectCopy = false; ///< project.kvp is there
    int takes = 0;               ///< motion and camera files there
};

/// This program's session folder under `root` (the user's recovery folder).
class SessionRecovery {
  public:
    explicit SessionRecovery(std::filesystem::path root);

    const std::filesystem::path& folder() const { return folder_; }

    /// Writes the takes of the last run: each simulated or interactive
    /// object's channel and the camera channel, as Save Motion As and Save
    /// Camera As would; takes of an earlier run that this one did not record
    /// are removed. False (with a message) when a file could not be written.
    bool writeTakes(Document& document, MessagePort& messages);

    /// Writes a copy of the project when it is modified (removing an older
    /// copy otherwise: its own file, or a new project, is what a recovery
    /// opens then), and the session file that names it. With no take and no
    /// change there is nothing to recover, and the folder is removed.
    bool writeProject(Document& document, MessagePort& messages);

    /// Removes this program's session folder: the exit was clean.
    void clear();

  private:
    bool writeSessionFile(const Document& document);

    std::filesystem::path folder_;
};

/// Sessions under `root` whose program has ended and that hold something to
/// recover, the most recently written first. Folders of ended programs that
/// hold nothing to recover are removed on the way.
std::vector<RecoverySession> sessionsLeftBehind(const std::filesystem::path& root);

/// Moves a session the user declined aside (to "declined-" and its name) so
/// that it is offered no more but nothing is lost. False when it could not.
bool setSessionAside(const RecoverySession& session);

/// Opens `session` in `document`: its project copy (or the project's own file
/// when the copy is not there), then its takes into the run's channels, so
/// that Save Motion As and Save Camera As write what they would have written
/// after that run. False, with a message, when the project cannot be opened.
/// The session's folder is left as it was: the caller removes it once the
/// recovered data are safe in its own session.
bool recoverSession(const RecoverySession& session, Document& document, MessagePort& messages);

/// Removes a session folder whose data have been recovered.
void removeSession(const RecoverySession& session);

} // namespace kv::app
