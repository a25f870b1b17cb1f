#pragma once
/// The program's per-user settings, in the section "Settings" of organisation
/// "Ostravel", application "Kestrovane": the data folder ("KeyDirectory"),
/// which holds the preference file and the "Objects" folder, and whether runs
/// start trimmed ("StartTrimmed").

#include <QString>

namespace kv::gui {

inline const QString kOrganisation = QStringLiteral("Ostravel");
inline const QString kApplication = QStringLiteral("Kestrovane");
inline const QString kKeyDirectoryKey = QStringLiteral("Settings/KeyDirectory");
inline const QString kStartTrimmedKey = QStringLiteral("Settings/StartTrimmed");

/// The stored data folder; when the value is empty, `currentFolder` is stored
/// and returned.
QString ensureDataFolder(const QString& currentFolder);

/// Replaces the stored data folder.
void setDataFolder(const QString& folder);

/// Simulation > Start Trimmed as stored; on when never stored.
bool startTrimmed();

/// Stores Simulation > Start Trimmed.
void setStartTrimmed(bool on);

} // namespace kv::gui
