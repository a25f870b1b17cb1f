// Exported numbers are printf's "%g" whatever the locale.

#include "export/number_format.h"

#include <clocale>
#include <cmath>
#include <cstdio>
#include <gtest/gtest.h>

namespace kv::exp {
namespace {

TEST(NumberFormat, MatchesPrintfG) {
    const double values[] = {0.0,        -0.0,     1.0,         -1.0,    1.0 / 30.0, 0.5,
                             123456.0,   1234567., 0.0001,      0.00001, -2.5e-7,    1e30,
                             3.14159265, 999999.5, -98765.4321, 100.0,   1e-300,     INFINITY};
    for (double v : values) {
        char expected[64];
        std::snprintf(expected, sizeof expected, "%g", v);
        EXPECT_EQ(formatG(v), expected) << v;
    }
    EXPECT_EQ(formatG(1.0 / 30.0), "0.0333333");
}

TEST(NumberFormat, IgnoresADecimalCommaLocale) {
    const char* chosen = nullptr;
    for (const char* name : {"de_DE.UTF-8", "de_DE.utf8", "fr_FR.UTF-8", "fr_FR.utf8"}) {
        if (std::setlocale(LC_NUMERIC, name) != nullptr) {
            chosen = name;
            break;
        }
    }
    if (chosen == nullptr)
        GTEST_SKIP() << "no decimal-comma locale installed";
    const std::string text = formatG(2.5);
    std::setlocale(LC_NUMERIC, "C");
    EXPECT_EQ(text, "2.5");
}

} // namespace
} // namespace kv::exp
