#pragma once
/// The instrument panel's pictures, drawn by our own code at the sizes the
/// panel's layout gives: the two panel backgrounds with their key guides, the
/// dials, the 36 heading cards, lamps, levers, gear and keys.

#include "app/panel/panel_layout.h"

#include <QImage>

namespace kv::views {

/// Draws image `image` in variant `variant` (lamp 0 off / 1 on, heading card
/// 0..35, key variant of app::keyVariant). Images with transparent parts
/// (the aircraft symbol, the flap mark) have an alpha channel.
QImage makePanelImage(app::PanelImage image, int variant);

/// The font of the panel's readouts.
QFont panelFont();

} // namespace kv::views
