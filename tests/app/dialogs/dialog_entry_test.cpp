#include "app/dialogs/dialog_entry.h"

#include <gtest/gtest.h>

namespace kv::app {
namespace {

TEST(DialogEntry, ReadsFiniteNumbersOnly) {
    struct Case {
        const char* text;
        std::optional<double> value;
    } cases[] = {
        {"1.5", 1.5}, {" -2 ", -2.0}, {"+3", 3.0}, {"1e2", 100.0}, {"", {}},      {"   ", {}},
        {"abc", {}},  {"1.5x", {}},   {"nan", {}}, {"inf", {}},    {"1e400", {}}, {"--1", {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(parseEntry(c.text), c.value);
    }
}

TEST(DialogEntry, ZeroNeverShowsAMinusSign) {
    EXPECT_EQ(formatEntry("%0.4f", -0.0), "0.0000");
    EXPECT_EQ(formatEntry("%0.4f", -0.00001), "0.0000");
    EXPECT_EQ(formatEntry("%0.4f", -0.5), "-0.5000");
    EXPECT_EQ(formatEntry("%0.0f", -0.3), "0");
    EXPECT_EQ(formatEntry("%0.0f", -10.0), "-10");
}

} // namespace
} // namespace kv::app
