#include "app/panel/instrument_panel.h"

#include "app/panel/panel_gauges.h"

namespace kv::app {

namespace {

/// Needle colour of the car panel.
constexpr int kCarNeedleRed = 230;
constexpr int kCarNeedleGreen = 149;
constexpr int kCarNeedleBlue = 3;

PanelLine needle(PanelPoint centre, float length, float angle, int width, int r, int g, int b) {
    const NeedleEnd end = needleEnd(centre, length, angle);
    return {
        static_cast<float>(centre.x), static_cast<float>(centre.y), end.x, end.y, width, r, g, b};
}

} // namespace

bool redrawOnChange(int& remembered, int value) {
    if (remembered == value)
        return false;
    remembered = value;
    return true;
}

void InstrumentPanel::forceRedraw() {
    remembered_.fill(kForceRedraw);
}

PanelFrame InstrumentPanel::frame(const PanelInput& input, bool idle, double clock) {
    PanelFrame f;
    f.aircraft = input.aircraftPanel;
    const int panel = f.aircraft ? 1 : 0;
    f.switchedPanel = panel_ != panel;
    if (f.switchedPanel) {
        panel_ = panel;
        idle = true;
    }
    if (idle)
        forceRedraw();
    blink_.update(input.paused, clock);
    // An idle redraw starts from the clean background: a key lit before the
    // redraw would otherwise stay lit with nothing remembering it.
    f.copyRows = idle ? kPanelHeight : (f.aircraft ? kAircraftGaugeRows : kCarGaugeRows);
    if (idle)
        f.steps.emplace_back(PanelBlit{
            f.aircraft ? PanelImage::AircraftBackground : PanelImage::CarBackground, 0, 0, 0});
    if (f.aircraft) {
        aircraftFrame(input, f);
    } else {
        carFrame(input, f);
    }
    keys(input, f.aircraft, f);
    return f;
}

void InstrumentPanel::lamp(PanelFrame& f, int& remembered, bool on, PanelImage image,
                           PanelPoint at) {
    if (redrawOnChange(remembered, on ? 1 : 0))
        f.steps.emplace_back(PanelBlit{image, on ? 1 : 0, at.x, at.y});
}

void InstrumentPanel::carFrame(const PanelInput& in, PanelFrame& f) {
    const PanelReadings& r = in.readings;
    f.steps.emplace_back(PanelBlit{PanelImage::Tachometer, 0, kTachometerAt.x, kTachometerAt.y});
    f.steps.emplace_back(PanelBlit{PanelImage::Speedometer, 0, kSpeedometerAt.x, kSpeedometerAt.y});
    const float length = static_cast<float>(kCarNeedleLength);
    f.steps.emplace_back(needle(kSpeedometerCentre, length,
                                speedNeedleAngle(r.groundSpeed, in.imperial), kCarNeedleWidth,
                                kCarNeedleRed, kCarNeedleGreen, kCarNeedleBlue));
    f.steps.emplace_back(needle(kTachometerCentre, length, tachometerNeedleAngle(r.engineRpm),
                                kCarNeedleWidth, kCarNeedleRed, kCarNeedleGreen, kCarNeedleBlue));
    const PanelPoint rpmAt = rpmTextPosition(r.engineRpm);
    f.steps.emplace_back(PanelText{rpmText(r.engineRpm), rpmAt.x, rpmAt.y, false});
    f.steps.emplace_back(
        PanelText{speedText(r.groundSpeed, in.imperial), kSpeedTextAt.x, kSpeedTextAt.y, false});
    f.steps.emplace_back(PanelText{"RPM", kRpmLabelAt.x, kRpmLabelAt.y, true});
    const PanelPoint unitAt = speedUnitPosition(in.imperial);
    f.steps.emplace_back(
        PanelText{std::string(speedUnitText(in.imperial)), unitAt.x, unitAt.y, true});

    lamp(f, remembered_[kBrake], r.brake, PanelImage::CarBrakeLamp, kCarBrakeLampAt);
    lamp(f, remembered_[kCruise], r.cruise, PanelImage::CruiseLamp, kCruiseLampAt);
    // Neutral leaves both lamps as they were.
    if (r.transmission != 0 && redrawOnChange(remembered_[kTransmission], r.transmission)) {
        const bool drive = r.transmission > 0;
        f.steps.emplace_back(
            PanelBlit{PanelImage::DriveLamp, drive ? 1 : 0, kDriveLampAt.x, kDriveLampAt.y});
        f.steps.emplace_back(
            PanelBlit{PanelImage::ReverseLamp, drive ? 0 : 1, kReverseLampAt.x, kReverseLampAt.y});
    }
}

void InstrumentPanel::aircraftFrame(const PanelInput& in, PanelFrame& f) {
    const PanelReadings& r = in.readings;
    f.steps.emplace_back(PanelBlit{PanelImage::AirspeedDial, 0, kAirspeedAt.x, kAirspeedAt.y});
    f.steps.emplace_back(
        PanelBlit{PanelImage::HeadingCard, headingCard(r.heading), kHeadingAt.x, kHeadingAt.y});
    f.steps.emplace_back(
        PanelBlit{PanelImage::AircraftSymbol, 0, kAircraftSymbolAt.x, kAircraftSymbolAt.y});
    f.steps.emplace_back(PanelBlit{PanelImage::Altimeter, 0, kAltimeterAt.x, kAltimeterAt.y});
    f.steps.emplace_back(
        PanelBlit{PanelImage::LoadFactorDial, 0, kLoadFactorAt.x, kLoadFactorAt.y});
    f.steps.emplace_back(PanelText{machText(r.mach), kMachTextAt.x, kMachTextAt.y, false});
    f.steps.emplace_back(
        PanelText{altitudeText(r.altitude), kAltitudeTextAt.x, kAltitudeTextAt.y, false});
    const float length = static_cast<float>(kAircraftNeedleLength);
    f.steps.emplace_back(needle(kAirspeedCentre, length, airspeedNeedleAngle(r.airspeed),
                                kAircraftNeedleWidth, 255, 255, 255));
    f.steps.emplace_back(needle(kAltimeterCentre, length, altimeterLongHandAngle(r.altitude),
                                kAircraftNeedleWidth, 255, 255, 255));
    f.steps.emplace_back(needle(kAltimeterCentre, static_cast<float>(kAltimeterShortHand),
                                altimeterShortHandAngle(r.altitude), kAircraftNeedleWidth, 255, 255,
                                255));
    f.steps.emplace_back(needle(kLoadFactorCentre, static_cast<float>(kLoadFactorNeedleLength),
                                loadFactorNeedleAngle(r.loadFactor), 1, 255, 255, 255));

    if (redrawOnChange(remembered_[kThrottleKnob], throttleKnobTop(r.throttle))) {
        f.steps.emplace_back(
            PanelBlit{PanelImage::LeverSlot, 0, kThrottleSlotAt.x, kThrottleSlotAt.y});
        f.steps.emplace_back(
            PanelBlit{PanelImage::LeverKnob, 0, kThrottleSlotAt.x, throttleKnobTop(r.throttle)});
    }
    if (redrawOnChange(remembered_[kNozzleKnob], nozzleKnobTop(r.nozzle))) {
        f.steps.emplace_back(PanelBlit{PanelImage::LeverSlot, 0, kNozzleSlotAt.x, kNozzleSlotAt.y});
        f.steps.emplace_back(
            PanelBlit{PanelImage::LeverKnob, 0, kNozzleSlotAt.x, nozzleKnobTop(r.nozzle)});
    }
    const PanelPoint mark = flapMarkPosition(r.flaps);
    if (redrawOnChange(remembered_[kFlapMark], mark.y)) {
        f.steps.emplace_back(PanelBlit{PanelImage::LeverSlot, 0, kFlapSlotAt.x, kFlapSlotAt.y});
        f.steps.emplace_back(PanelBlit{PanelImage::FlapMark, 0, mark.x, mark.y});
    }
    lamp(f, remembered_[kAutopilot], r.cruise, PanelImage::AutopilotLamp, kAutopilotLampAt);
    lamp(f, remembered_[kBrake], r.brake, PanelImage::AircraftBrakeLamp, kAircraftBrakeLampAt);
    lamp(f, remembered_[kGear], r.gearDown, PanelImage::Gear, kGearAt);
}

void InstrumentPanel::key(PanelFrame& f, bool aircraft, PanelKey k, KeyLight light) {
    const PanelPoint at = keyPosition(k, aircraft);
    if (at.x < 0)
        return;
    const PanelImage image = aircraft ? PanelImage::AircraftKey : PanelImage::CarKey;
    f.steps.emplace_back(PanelBlit{image, keyVariant(k, light), at.x, at.y});
    if (at.y >= f.copyRows) {
        const PanelSize size = panelImageSize(image);
        f.changedBelow.push_back({at.x, at.y, size.width, size.height});
    }
}

void InstrumentPanel::keys(const PanelInput& in, bool aircraft, PanelFrame& f) {
    int& mode = remembered_[kMode];
    const int previous = mode;
    if (redrawOnChange(mode, in.cameraMode)) {
        if (previous != kForceRedraw)
            key(f, aircraft, modeKey(previous), KeyLight::Normal);
        key(f, aircraft, modeKey(in.cameraMode), modeLight(in.cameraMode));
    }
    for (PanelKey k : {PanelKey::F12, PanelKey::Q, PanelKey::B, PanelKey::R, PanelKey::G,
                       PanelKey::F, PanelKey::P}) {
        const bool lit = k == PanelKey::P ? blink_.lit() : switchKeyLit(k, in);
        if (redrawOnChange(remembered_[kKeysFirst + static_cast<int>(k)], lit ? 1 : 0))
            key(f, aircraft, k, lit ? KeyLight::Green : KeyLight::Normal);
    }
}

} // namespace kv::app
