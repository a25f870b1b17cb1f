#pragma once
/// The instrument panel fed from the document: after every frame of a run the
/// panel's gauges and what changed, otherwise (and when the panel is shown
/// again) the whole panel. Nothing is drawn while the panel is hidden.

#include "app/panel/instrument_panel.h"
#include "common/steady_clock.h"

namespace kv::app {
class Document;
}

namespace kv::views {
class InstrumentView;
}

namespace kv::gui {

class PanelLink {
  public:
    /// `doc` and `view` must outlive this object.
    PanelLink(app::Document& doc, views::InstrumentView& view) : doc_(doc), view_(view) {}

    /// One panel frame; `live` during a run or the camera preview.
    void draw(bool live);
    /// Frames drawn (hidden frames do not count).
    int frames() const { return frames_; }

  private:
    app::Document& doc_;
    views::InstrumentView& view_;
    app::InstrumentPanel panel_;
    SteadyClock clock_; ///< local clock of the blinking P key
    bool wasHidden_ = true;
    int frames_ = 0;
};

} // namespace kv::gui
