// The run state's "slots" member must be read before Qt defines its macro.
// clang-format off
#include "app/document/document.h"
// clang-format on

#include "gui/panel_link.h"

#include "app/panel/panel_readings.h"
#include "views/instrument_view.h"

namespace kv::gui {

void PanelLink::draw(bool live) {
    if (!view_.isVisible()) {
        wasHidden_ = true;
        return;
    }
    const app::PanelInput input = app::panelInputOf(
        doc_.run(), doc_.object(0).vehicleType, doc_.camera(), doc_.preferences().lengthUnitFactor);
    // A panel shown again during a run starts from a whole redraw: what it
    // remembered may have changed while it was hidden.
    const bool idle = !live || wasHidden_;
    wasHidden_ = false;
    view_.drawFrame(panel_.frame(input, idle, clock_.elapsed()), live);
    ++frames_;
}

} // namespace kv::gui
