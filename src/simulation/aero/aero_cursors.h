#pragma once
/// Table cursors of the tabulated aerodynamic models. Tables that share
/// breakpoints and argument share a cursor: the lookup lands on the same
/// interval whichever table asks. Cursors start blank and are kept across steps.

#include "common/table_lookup.h"

namespace kv::sim {

struct F16Cursors {
    TableCursor alpha;     ///< the 20 angle-of-attack breakpoints
    TableCursor alphaFlap; ///< the 14 angle-of-attack breakpoints of the flap tables
    TableCursor beta;      ///< the 19 sideslip breakpoints
};

struct F4Cursors {
    TableCursor alpha21;   ///< -10..90 deg by 5
    TableCursor alpha11;   ///< -10..90 deg by 10
    TableCursor mach;      ///< Mach 0..2.4
    TableCursor flap;      ///< flap control 0, 0.5, 1
    TableCursor slipAlpha; ///< rows of the sideslip pitching-moment table
    TableCursor slipBeta;  ///< columns of the sideslip pitching-moment table
};

struct B747Cursors {
    TableCursor alpha; ///< shifted angle of attack, -5..25 deg
    TableCursor mach;  ///< Mach 0..1
    TableCursor beta;  ///< sideslip, -15..15 deg
    TableCursor flap;  ///< flap control 0, 1
};

struct AeroCursors {
    F16Cursors f16;
    F4Cursors f4;
    B747Cursors b747;
};

} // namespace kv::sim
