#pragma once
/// The DXF import port on the DXF open dialog: a file dialog with
/// "Transform..." and "Color...". Translations in the Transform dialog are
/// shown in the working units of the preferences current when it opens.

#include "app/document/dxf_import_port.h"
#include "app/settings/preferences.h"
#include "common/ports/messages.h"

class QWidget;

namespace kv::gui {

class QtDxfImport final : public app::DxfImportPort {
  public:
    /// `prefs` and `messages` must outlive this object; `parent` may be null.
    QtDxfImport(const app::Preferences& prefs, MessagePort& messages, QWidget* parent = nullptr)
        : prefs_(prefs), messages_(messages), parent_(parent) {}
    void setParent(QWidget* parent) { parent_ = parent; }
    std::optional<app::DxfImport> chooseDxf(const FileRequest& request, const app::DxfImport& start,
                                            bool colorEnabled) override;

  private:
    const app::Preferences& prefs_;
    MessagePort& messages_;
    QWidget* parent_;
};

} // namespace kv::gui
