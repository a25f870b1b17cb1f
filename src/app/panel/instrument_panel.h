#pragma once
/// One frame of the instrument panel as a list of drawing steps on the panel's
/// working surface: blits of the panel's images, needles and readouts. The
/// panel remembers what each lamp, lever and key shows, so that a run redraws
/// them only when their value changes; an idle redraw draws everything.

#include "app/panel/key_guide.h"
#include "app/panel/panel_layout.h"
#include "app/panel/panel_readings.h"

#include <array>
#include <string>
#include <variant>
#include <vector>

namespace kv::app {

/// Draw `image` (variant `variant`) with its top-left corner at (x, y).
struct PanelBlit {
    PanelImage image = PanelImage::CarBackground;
    int variant = 0;
    int x = 0;
    int y = 0;
};

/// A needle: a solid line of `width` px from (x0, y0) to (x1, y1).
struct PanelLine {
    float x0 = 0.0f, y0 = 0.0f, x1 = 0.0f, y1 = 0.0f;
    int width = 1;
    int red = 255, green = 255, blue = 255;
};

/// A readout in the panel's font, transparent, its top-left corner at (x, y).
struct PanelText {
    std::string text;
    int x = 0;
    int y = 0;
    bool white = false; ///< white, else black
};

using PanelStep = std::variant<PanelBlit, PanelLine, PanelText>;

struct PanelRect {
    int x = 0, y = 0, width = 0, height = 0;
};

struct PanelFrame {
    bool aircraft = false;
    /// The panel type changed: the other panel's images may be released.
    bool switchedPanel = false;
    /// Drawing steps in order, on the working surface.
    std::vector<PanelStep> steps;
    /// Rows from the top copied to the window: the gauge strip during a run,
    /// the whole panel on an idle redraw.
    int copyRows = kPanelHeight;
    /// Lamps and keys below the copied rows that changed and must reach the window too.
    std::vector<PanelRect> changedBelow;
};

/// Remembered states are set to this to force a redraw.
inline constexpr int kForceRedraw = 666;

/// Whether a remembered value must be redrawn; takes `value` as drawn if so.
bool redrawOnChange(int& remembered, int value);

class InstrumentPanel {
  public:
    /// The frame for `input`. `idle` (no run in progress) redraws the whole
    /// panel from its background; during a run only what changed is touched
    /// beside the gauges. `clock` is the local clock (s) for the blinking P key.
    PanelFrame frame(const PanelInput& input, bool idle, double clock);

    /// Forces a full redraw at the next frame (the remembered states to 666).
    void forceRedraw();

  private:
    void carFrame(const PanelInput& in, PanelFrame& f);
    void aircraftFrame(const PanelInput& in, PanelFrame& f);
    void keys(const PanelInput& in, bool aircraft, PanelFrame& f);
    void lamp(PanelFrame& f, int& remembered, bool on, PanelImage image, PanelPoint at);
    void key(PanelFrame& f, bool aircraft, PanelKey key, KeyLight light);

    enum Memory : int {
        kBrake,
        kCruise,
        kTransmission,
        kMode,
        kAutopilot,
        kGear,
        kThrottleKnob,
        kNozzleKnob,
        kFlapMark,
        kKeysFirst, ///< one per PanelKey from here
        kMemoryCount = kKeysFirst + kPanelKeyCount,
    };
    std::array<int, kMemoryCount> remembered_ = filled();
    PauseBlink blink_;
    int panel_ = -1; ///< 0 car, 1 aircraft, -1 none yet

    static std::array<int, kMemoryCount> filled() {
        std::array<int, kMemoryCount> a{};
        a.fill(kForceRedraw);
        return a;
    }
};

} // namespace kv::app
