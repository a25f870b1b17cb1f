#pragma once
/// Piecewise-linear table lookup with a remembered cursor.
///
/// A cursor remembers where the last lookup landed, so that a slowly varying
/// argument (engine speed, angle of attack, forward speed) finds its interval in
/// a step or two instead of a search. Breakpoints must ascend. Below the first
/// breakpoint the first value holds, above the last the last: tables are never
/// extrapolated.

#include <span>

namespace kv {

/// Position of an argument in a table of ascending breakpoints.
struct TableCursor {
    int count = 0; ///< number of breakpoints of the table last looked up
    int index = 0; ///< first breakpoint above the argument, 0..count-1
    float fraction =
        0.0f; ///< distance from breakpoint[index] back toward breakpoint[index-1], 0..1
};

/// Moves `cursor` to `x` in `breakpoints` (the cursor's count becomes their
/// number). The index rises while x is at or past breakpoint[index] and falls
/// while x is below breakpoint[index-1]; at the top it stays on the last
/// breakpoint, where the fraction is 0, as it is at index 0.
void PlaceTableCursor(TableCursor& cursor, std::span<const float> breakpoints, float x);

/// The value at a placed cursor: values[index] less the fraction of the step
/// back to values[index-1]; values[0] at index 0. 0 for an empty table.
/// `values` holds at least the cursor's count entries.
float InterpolateAtCursor(const TableCursor& cursor, std::span<const float> values);

/// Places `cursor` at `x` and interpolates `values` there.
float TableLookup(TableCursor& cursor, std::span<const float> breakpoints,
                  std::span<const float> values, float x);

/// Bilinear lookup in a row-major table of rowBreakpoints.size() rows of
/// columnBreakpoints.size() values each: rows follow the first argument `x`,
/// columns the second `y`. Each argument keeps its own cursor.
float TableLookup2(TableCursor& rowCursor, TableCursor& columnCursor,
                   std::span<const float> rowBreakpoints, std::span<const float> columnBreakpoints,
                   std::span<const float> values, float x, float y);

} // namespace kv
