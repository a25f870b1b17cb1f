#include "gui/qt_dxf_import.h"

#include "dialogs/dxf_open_dialog.h"

namespace kv::gui {

std::optional<app::DxfImport>
QtDxfImport::chooseDxf(const FileRequest& request, const app::DxfImport& start, bool colorEnabled) {
    dialogs::DxfOpenRequest dialogRequest;
    dialogRequest.file = request;
    dialogRequest.transform = start.transform;
    dialogRequest.color = start.color;
    dialogRequest.transparency = start.transparency;
    dialogRequest.colorEnabled = colorEnabled;
    dialogRequest.units = app::WorkingUnits{prefs_.lengthUnitFactor, prefs_.englishForceUnits,
                                            prefs_.rightHandedAxes};
    const auto result = dialogs::runDxfOpenDialog(dialogRequest, messages_, parent_);
    if (!result || result->path.empty())
        return std::nullopt;
    app::DxfImport out;
    out.file = result->path;
    out.transform = result->transform;
    out.color = colorEnabled ? result->color : start.color;
    out.transparency = colorEnabled ? result->transparency : start.transparency;
    return out;
}

} // namespace kv::gui
