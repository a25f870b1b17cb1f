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

} // namespace kv::gui
