#include "common/table_lookup.h"

#include <array>
#include <gtest/gtest.h>
#include <vector>

namespace kv {
namespace {

constexpr std::array<float, 4> kX{0.0f, 10.0f, 20.0f, 40.0f};
constexpr std::array<float, 4> kY{5.0f, 15.0f, -5.0f, 35.0f};

struct LookupCase {
    float x;
    float value;
    int index;
    float fraction;
};

TEST(TableLookup, AtBetweenAndBeyondBreakpoints) {
    const LookupCase cases[] = {
        {-100.0f, 5.0f, 0, 0.0f}, // below the first breakpoint the first value holds
        {0.0f, 5.0f, 1, 1.0f},    // on a breakpoint: the lower end of the next interval
        {5.0f, 10.0f, 1, 0.5f},   {10.0f, 15.0f, 2, 1.0f}, {12.5f, 10.0f, 2, 0.75f},
        {30.0f, 15.0f, 3, 0.5f},  {40.0f, 35.0f, 3, 0.0f}, // the last breakpoint
        {1e6f, 35.0f, 3, 0.0f},                            // above it the last value holds
    };
    for (const LookupCase& c : cases) {
        TableCursor cursor;
        EXPECT_FLOAT_EQ(TableLookup(cursor, kX, kY, c.x), c.value) << "x = " << c.x;
        EXPECT_EQ(cursor.count, 4);
        EXPECT_EQ(cursor.index, c.index) << "x = " << c.x;
        EXPECT_FLOAT_EQ(cursor.fraction, c.fraction) << "x = " << c.x;
    }
}

TEST(TableLookup, ARememberedCursorGivesTheSameValuesSweepingUpAndDown) {
    std::vector<float> sweep;
    for (float x = -5.0f; x <= 45.0f; x += 0.75f)
        sweep.push_back(x);
    for (float x = 45.0f; x >= -5.0f; x -= 1.25f)
        sweep.push_back(x);
    sweep.insert(sweep.end(), {-50.0f, 50.0f, 15.0f, -1.0f, 39.0f}); // jumps across the table

    TableCursor kept;
    for (float x : sweep) {
        TableCursor fresh;
        const float expected = TableLookup(fresh, kX, kY, x);
        EXPECT_EQ(TableLookup(kept, kX, kY, x), expected) << "x = " << x;
        EXPECT_EQ(kept.index, fresh.index) << "x = " << x;
    }
}

TEST(TableLookup, ExactArithmeticOfTheInterpolation) {
    // values[i] - (values[i] - values[i-1]) * (bp[i] - x) / (bp[i] - bp[i-1])
    constexpr std::array<float, 2> x{1500.0f, 2000.0f};
    constexpr std::array<float, 2> y{327.0f, 341.0f};
    TableCursor cursor;
    const float fraction = (2000.0f - 1777.0f) / (2000.0f - 1500.0f);
    EXPECT_EQ(TableLookup(cursor, x, y, 1777.0f), 341.0f - (341.0f - 327.0f) * fraction);
}

TEST(TableLookup, DegenerateTables) {
    TableCursor cursor;
    EXPECT_EQ(TableLookup(cursor, std::span<const float>{}, std::span<const float>{}, 3.0f), 0.0f);
    EXPECT_EQ(cursor.count, 0);

    constexpr std::array<float, 1> one{2.0f};
    constexpr std::array<float, 1> value{7.0f};
    EXPECT_EQ(TableLookup(cursor, one, value, -1.0f), 7.0f);
    EXPECT_EQ(TableLookup(cursor, one, value, 9.0f), 7.0f);

    // A cursor left past the end of a longer table is brought back into range.
    TableCursor moved;
    TableLookup(moved, kX, kY, 100.0f);
    moved.index = 17;
    constexpr std::array<float, 2> shortX{0.0f, 1.0f};
    constexpr std::array<float, 2> shortY{0.0f, 2.0f};
    EXPECT_FLOAT_EQ(TableLookup(moved, shortX, shortY, 0.25f), 0.5f);
}

TEST(TableLookup2, BilinearInsideAndClampedOutside) {
    // f(x, y) = 100 + 10 x + y on rows x = 0, 1, 3 and columns y = 0, 2.
    constexpr std::array<float, 3> rows{0.0f, 1.0f, 3.0f};
    constexpr std::array<float, 2> columns{0.0f, 2.0f};
    constexpr std::array<float, 6> values{100.0f, 102.0f, 110.0f, 112.0f, 130.0f, 132.0f};
    TableCursor r;
    TableCursor c;
    EXPECT_FLOAT_EQ(TableLookup2(r, c, rows, columns, values, 0.5f, 1.0f), 106.0f);
    EXPECT_FLOAT_EQ(TableLookup2(r, c, rows, columns, values, 2.0f, 0.5f), 120.5f);
    EXPECT_FLOAT_EQ(TableLookup2(r, c, rows, columns, values, 1.0f, 2.0f), 112.0f);
    EXPECT_FLOAT_EQ(TableLookup2(r, c, rows, columns, values, -4.0f, 9.0f), 102.0f);
    EXPECT_FLOAT_EQ(TableLookup2(r, c, rows, columns, values, 9.0f, -4.0f), 130.0f);
    EXPECT_FLOAT_EQ(TableLookup2(r, c, rows, columns, values, 0.5f, 1.0f), 106.0f); // back down
}

} // namespace
} // namespace kv
