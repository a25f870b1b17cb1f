#pragma once
/// The program's one per-user setting: the data folder ("KeyDirectory" in the
/// section "Settings" of organisation "Ostravel", application "Kestrovane").
/// It holds the preference file and the "Objects" folder.

#include <QString>

namespace kv::gui {

inline const QString kOrganisation = QStringLiteral("Ostravel");
inline const QString kApplication = QStringLiteral("Kestrovane");
inline const QString kKeyDirectoryKey = QStringLiteral("Settings/KeyDirectory");

/// The stored data folder; when the value is empty, `currentFolder` is stored
/// and returned.
QString ensureDataFolder(const QString& currentFolder);

/// Replaces the stored data folder.
void setDataFolder(const QString& folder);

} // namespace kv::gui
