#pragma once
/// The "Working Units" dialog's choices: length unit, force/mass/inertia
/// system and coordinate system, and OK's write-back into the preferences.

#include "app/settings/preferences.h"
#include "geometry/dxf_axes.h"

#include <array>

namespace kv::app {

/// One "Length" button: its text and the `lengthUnitFactor` it stores.
struct LengthChoice {
    const char* text;
    float feetPerUnit;
};

/// The "Length" buttons in the dialog's order.
inline constexpr std::array<LengthChoice, 6> kLengthChoices{{{"Meters", kFeetPerMetre},
                                                             {"Centimeters", kFeetPerCentimetre},
                                                             {"Millimeters", kFeetPerMillimetre},
                                                             {"Yards", kFeetPerYard},
                                                             {"Feet", kFeetPerFoot},
                                                             {"Inches", kFeetPerInch}}};

/// "Force/Mass/Inertia" button texts; each is followed by a raised "2".
inline constexpr const char* kEnglishForceText = "lbf/lb/lb-ft";
inline constexpr const char* kMetricForceText = "N/kg/kg-m";

struct WorkingUnitsForm {
    /// Index into kLengthChoices, or -1 when the stored factor matches none
    /// (a damaged preference file): OK then keeps the stored factor.
    int length = 0;
    bool english = false;     ///< "lbf/lb/lb-ft2" chosen, else "N/kg/kg-m2"
    /// "Right Hand", "Left Hand" or "Z Up" chosen.
    geom::DxfAxes axes = geom::DxfAxes::LeftHand;
};

/// The choices shown for `prefs`; the length button whose factor matches
/// under the tolerant comparison is selected.
WorkingUnitsForm workingUnitsForm(const Preferences& prefs);
/// OK: stores the three choices.
void applyWorkingUnitsForm(const WorkingUnitsForm& form, Preferences& prefs);

} // namespace kv::app
