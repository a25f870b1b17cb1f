#include "app/panel/panel_layout.h"

namespace kv::app {

PanelSize panelImageSize(PanelImage image) {
    switch (image) {
    case PanelImage::CarBackground:
    case PanelImage::AircraftBackground:
        return {kPanelWidth, kPanelHeight};
    case PanelImage::Tachometer:
    case PanelImage::Speedometer:
        return {149, 149};
    case PanelImage::CarBrakeLamp:
    case PanelImage::CruiseLamp:
        return {41, 16};
    case PanelImage::DriveLamp:
    case PanelImage::ReverseLamp:
        return {17, 19};
    case PanelImage::CarKey:
        return {61, 29};
    case PanelImage::AirspeedDial:
    case PanelImage::Altimeter:
    case PanelImage::HeadingCard:
        return {121, 121};
    case PanelImage::AircraftSymbol:
        return {38, 52};
    case PanelImage::LoadFactorDial:
        return {52, 52};
    case PanelImage::AutopilotLamp:
    case PanelImage::AircraftBrakeLamp:
        return {62, 16};
    case PanelImage::Gear:
        return {36, 35};
    case PanelImage::LeverSlot:
        return {25, 50};
    case PanelImage::LeverKnob:
        return {25, 20};
    case PanelImage::FlapMark:
        return {5, 4};
    case PanelImage::AircraftKey:
        return {53, 26};
    }
    return {};
}

std::string_view keyCap(PanelKey key) {
    static constexpr std::array<std::string_view, kPanelKeyCount> caps{
        "F1", "F2", "F3", "F4", "F5", "F6", "F12", "Q", "B", "R", "P", "G", "F"};
    return caps[static_cast<std::size_t>(key)];
}

std::string_view keyLabel(PanelKey key, bool aircraft) {
    switch (key) {
    case PanelKey::F1:
        return "Cockpit";
    case PanelKey::F2:
        return "Roam";
    case PanelKey::F3:
        return "Attached";
    case PanelKey::F4:
        return "Chase";
    case PanelKey::F5:
        return "TV Track";
    case PanelKey::F6:
        return "External";
    case PanelKey::F12:
        return "Camera on/off";
    case PanelKey::Q:
        return aircraft ? "Autopilot" : "Cruise";
    case PanelKey::B:
        return "Brake";
    case PanelKey::R:
        return "Reverse";
    case PanelKey::P:
        return "Pause";
    case PanelKey::G:
        return "Gear";
    case PanelKey::F:
        return "Flaps";
    }
    return {};
}

PanelPoint keyPosition(PanelKey key, bool aircraft) {
    if (!aircraft) {
        switch (key) {
        case PanelKey::F1:
        case PanelKey::F2:
        case PanelKey::F3:
        case PanelKey::F4:
        case PanelKey::F5:
        case PanelKey::F6:
            return {12 + 63 * static_cast<int>(key), 187};
        case PanelKey::F12:
            return {327, 220};
        case PanelKey::Q:
            return {75, 266};
        case PanelKey::B:
            return {138, 266};
        case PanelKey::R:
            return {201, 266};
        case PanelKey::P:
            return {264, 266};
        case PanelKey::G:
        case PanelKey::F:
            return {-1, -1};
        }
        return {-1, -1};
    }
    switch (key) {
    case PanelKey::F1:
        return {7, 215};
    case PanelKey::F2:
        return {61, 215};
    case PanelKey::F3:
        return {115, 215};
    case PanelKey::F4:
        return {7, 242};
    case PanelKey::F5:
        return {61, 242};
    case PanelKey::F6:
        return {115, 242};
    case PanelKey::F12:
        return {61, 269};
    case PanelKey::P:
        return {179, 215};
    case PanelKey::Q:
        return {233, 215};
    case PanelKey::G:
        return {287, 215};
    case PanelKey::F:
        return {341, 215};
    case PanelKey::B:
        return {287, 242};
    case PanelKey::R:
        return {341, 242};
    }
    return {-1, -1};
}

} // namespace kv::app
