#include "gui/settings_store.h"

#include <QSettings>

namespace kv::gui {

QString ensureDataFolder(const QString& currentFolder) {
    QSettings settings(kOrganisation, kApplication);
    QString folder = settings.value(kKeyDirectoryKey).toString();
    if (folder.isEmpty()) {
        folder = currentFolder;
        settings.setValue(kKeyDirectoryKey, folder);
    }
    return folder;
}

void setDataFolder(const QString& folder) {
    QSettings settings(kOrganisation, kApplication);
    settings.setValue(kKeyDirectoryKey, folder);
}

bool startTrimmed() {
    return QSettings(kOrganisation, kApplication).value(kStartTrimmedKey, true).toBool();
}

void setStartTrimmed(bool on) {
    QSettings(kOrganisation, kApplication).setValue(kStartTrimmedKey, on);
}

} // namespace kv::gui
