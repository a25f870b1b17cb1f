#pragma once
/// Small helpers over the host's panel services, shared as source by both
/// plug-ins (each compiles its own copy; they share no library).

#include "lw_interface.h"

namespace kv::lwplug {

inline LWControl* addNumControl(LWPanelFuncs* panels, LWPanelID panel, const char* label) {
    LWPanControlDesc desc{}; // the host may read all of it: no stray bytes
    desc.type = LWT_INTEGER;
    return panels->addControl(panel, "NumControl", &desc, label);
}

inline LWControl* addFloatControl(LWPanelFuncs* panels, LWPanelID panel, const char* label) {
    LWPanControlDesc desc{}; // the host may read all of it: no stray bytes
    desc.type = LWT_FLOAT;
    return panels->addControl(panel, "FloatControl", &desc, label);
}

inline void setInt(LWControl* control, int value) {
    LWValue v{};
    v.intv.type = LWT_INTEGER;
    v.intv.value = value;
    v.intv.defVal = value;
    control->set(control, CTL_VALUE, &v);
}

inline int getInt(LWControl* control) {
    LWValue v{};
    v.intv.type = LWT_INTEGER;
    v.intv.value = 0;
    v.intv.defVal = 0;
    control->get(control, CTL_VALUE, &v);
    return v.intv.value;
}

inline void setFloat(LWControl* control, double value) {
    LWValue v{};
    v.flt.type = LWT_FLOAT;
    v.flt.value = value;
    v.flt.defVal = value;
    control->set(control, CTL_VALUE, &v);
}

inline double getFloat(LWControl* control) {
    LWValue v{};
    v.flt.type = LWT_FLOAT;
    v.flt.value = 0.0;
    v.flt.defVal = 0.0;
    control->get(control, CTL_VALUE, &v);
    return v.flt.value;
}

/// A panel titled "Kestrovane", 200 wide, as both plug-ins show it; NULL
/// when the host cannot create one.
inline LWPanelID createKestrovanePanel(LWPanelFuncs* panels) {
    LWPanelID panel = panels->create("Kestrovane", panels);
    if (panel) {
        int width = 200;
        panels->set(panel, PAN_W, &width);
    }
    return panel;
}

/// Shows the panel until the user closes it; true for OK, false for Cancel.
inline bool runPanel(LWPanelFuncs* panels, LWPanelID panel) {
    return panels->open(panel, PANF_BLOCKING | PANF_CANCEL) != 0;
}

} // namespace kv::lwplug
