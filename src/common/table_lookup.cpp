#include "common/table_lookup.h"

#include <cassert>

namespace kv {

void PlaceTableCursor(TableCursor& cursor, std::span<const float> breakpoints, float x) {
    const int count = static_cast<int>(breakpoints.size());
    cursor.count = count;
    if (count == 0) {
        cursor.index = 0;
        cursor.fraction = 0.0f;
        return;
    }
    // A cursor last used on a longer table starts from its end.
    int i = cursor.index;
    if (i < 0) {
        i = 0;
    } else if (i > count) {
        i = count;
    }
    while (i < count && x >= breakpoints[static_cast<std::size_t>(i)]) {
        ++i;
    }
    while (i > 0 && x < breakpoints[static_cast<std::size_t>(i - 1)]) {
        --i;
    }
    if (i == count) {
        cursor.index = count - 1;
        cursor.fraction = 0.0f;
    } else if (i == 0) {
        cursor.index = 0;
        cursor.fraction = 0.0f;
    } else {
        const float upper = breakpoints[static_cast<std::size_t>(i)];
        const float lower = breakpoints[static_cast<std::size_t>(i - 1)];
        cursor.index = i;
        cursor.fraction = (upper - x) / (upper - lower);
    }
}

float InterpolateAtCursor(const TableCursor& cursor, std::span<const float> values) {
    if (cursor.count <= 0) {
        return 0.0f;
    }
    assert(static_cast<int>(values.size()) >= cursor.count);
    const auto i = static_cast<std::size_t>(cursor.index);
    if (i == 0) {
        return values[0];
    }
    return values[i] - (values[i] - values[i - 1]) * cursor.fraction;
}

float TableLookup(TableCursor& cursor, std::span<const float> breakpoints,
                  std::span<const float> values, float x) {
    PlaceTableCursor(cursor, breakpoints, x);
    return InterpolateAtCursor(cursor, values);
}

float TableLookup2(TableCursor& rowCursor, TableCursor& columnCursor,
                   std::span<const float> rowBreakpoints, std::span<const float> columnBreakpoints,
                   std::span<const float> values, float x, float y) {
    PlaceTableCursor(rowCursor, rowBreakpoints, x);
    PlaceTableCursor(columnCursor, columnBreakpoints, y);
    if (rowCursor.count <= 0 || columnCursor.count <= 0) {
        return 0.0f;
    }
    const std::size_t columns = columnBreakpoints.size();
    assert(values.size() >= rowBreakpoints.size() * columns);
    const auto row = static_cast<std::size_t>(rowCursor.index);
    const float upper = InterpolateAtCursor(columnCursor, values.subspan(row * columns, columns));
    if (row == 0) {
        return upper;
    }
    const float lower =
        InterpolateAtCursor(columnCursor, values.subspan((row - 1) * columns, columns));
    return upper - (upper - lower) * rowCursor.fraction;
}

} // namespace kv
