#pragma once
/// The gauges of both panels as functions of the readings: needle angles
/// (degrees clockwise on the screen from the +x axis, y down), readout texts,
/// the heading card and the lever positions.

#include "app/panel/panel_layout.h"

#include <string>

namespace kv::app {

// ---- car panel ----
/// Speedometer needle angle (deg): 120 at rest, 285° of travel at 190 MPH or KPH.
float speedNeedleAngle(float groundSpeed, bool imperial);
/// Tachometer needle angle (deg): 135 at 0, 0.03° per rev/min up to 9000.
float tachometerNeedleAngle(float rpm);
/// Speed readout: MPH or KPH, truncated, at most 999.
std::string speedText(float groundSpeed, bool imperial);
/// Engine speed readout "%d" and where it goes (further left from 10000 up).
std::string rpmText(float rpm);
PanelPoint rpmTextPosition(float rpm);
/// "MPH" or "KPH" and where it goes.
std::string_view speedUnitText(bool imperial);
PanelPoint speedUnitPosition(bool imperial);
inline constexpr PanelPoint kSpeedTextAt{243, 127};
inline constexpr PanelPoint kRpmLabelAt{78, 103};

// ---- aircraft panel ----
/// Airspeed needle (deg): zero at the top, 450 knots (759.51447 ft/s) one
/// turn, where it stops.
float airspeedNeedleAngle(float airspeed);
/// Altimeter hands (deg): the long hand turns once per 1000 ft, the short one per 10000 ft.
float altimeterLongHandAngle(float altitude);
float altimeterShortHandAngle(float altitude);
/// Load-factor needle (deg): 30° per g from -2 to 7 g.
float loadFactorNeedleAngle(float g);
/// Mach readout "%0.2f" of the Mach number held to 0..10.
std::string machText(float mach);
inline constexpr PanelPoint kMachTextAt{56, 74};
/// Altitude readout "thousands,units" of the altitude held to 0..99999 ft.
std::string altitudeText(float altitude);
inline constexpr PanelPoint kAltitudeTextAt{315, 76};
/// The heading card (0..35) nearest the heading (rad); card 0 has north up.
int headingCard(float headingRad);
/// Top of the throttle and nozzle knobs (px) for a lever position 0..1.
int throttleKnobTop(float throttle);
int nozzleKnobTop(float nozzle);
/// Top-left corner of the flap mark inside its slot for a flap setting 0..1.
PanelPoint flapMarkPosition(float flaps);

/// End of a needle of `length` from `centre` at `angleDeg` (screen, y down).
struct NeedleEnd {
    float x = 0.0f;
    float y = 0.0f;
};
NeedleEnd needleEnd(PanelPoint centre, float length, float angleDeg);

} // namespace kv::app
