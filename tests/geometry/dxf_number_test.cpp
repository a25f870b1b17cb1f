#include "geometry/dxf_number.h"

#include <bit>
#include <cstdint>
#include <cstdio>
#include <gtest/gtest.h>
#include <random>
#include <string>

namespace kv::geom {
namespace {

/// What "%lf" gives for the line, or 0 when it does not scan.
double reference(const std::string& line) {
    double value = 0.0;
    if (std::sscanf(line.c_str(), "%lf", &value) != 1) {
        return 0.0;
    }
    return value;
}

void expectSameBits(const std::string& line) {
    const double got = scanDxfValue(line);
    const double want = reference(line);
    EXPECT_EQ(std::bit_cast<std::uint64_t>(got), std::bit_cast<std::uint64_t>(want))
        << '"' << line << "\" gave " << got << ", \"%lf\" gives " << want;
}

TEST(DxfNumber, ScansAsPercentLf) {
    const char* lines[] = {"0",
                           "1",
                           "-1",
                           "  12.5",
                           "\t-0.125 ",
                           "1e5",
                           "1E-5",
                           "-2.5e+3",
                           ".5",
                           "-.5",
                           "5.",
                           "0.1",
                           "3.0000000000000004",
                           "123456789012345678901234567890",
                           "1e308",
                           "1e309",
                           "-1e400",
                           "1e-320",
                           "1e-400",
                           "4.9406564584124654e-324",
                           "2.2250738585072011e-308",
                           "+2",
                           "+.5e1",
                           "0x1p3",
                           "0X1.8P1",
                           "-0x10",
                           "0x",
                           "inf",
                           "-INF",
                           "Infinity",
                           "nan",
                           "NaN(abc)",
                           "-nan",
                           "1.5abc",
                           "7xyz",
                           "1,5",
                           "1e",
                           "1e+",
                           "1.e3",
                           "1..2",
                           "-",
                           "+",
                           ".",
                           "",
                           "   ",
                           "abc",
                           "--1",
                           "1 2",
                           "\v\f 8",
                           "1.5e5x",
                           "0.000000000000000000001e21",
                           "  -0.0",
                           "00012",
                           "1_000"};
    for (const char* line : lines) {
        expectSameBits(line);
    }
}

TEST(DxfNumber, RandomLinesScanAsPercentLf) {
    std::mt19937 random(11);
    const std::string alphabet = "0123456789.-+eExXpPnaNiIf \t";
    std::uniform_int_distribution<std::size_t> pick(0, alphabet.size() - 1);
    std::uniform_int_distribution<int> length(0, 24);
    for (int trial = 0; trial < 20000; ++trial) {
        std::string line;
        for (int n = length(random); n > 0; --n) {
            line.push_back(alphabet[pick(random)]);
        }
        expectSameBits(line);
    }
    std::uniform_real_distribution<double> value(-1e6, 1e6);
    for (int trial = 0; trial < 20000; ++trial) {
        char text[64];
        std::snprintf(text, sizeof text, trial % 2 ? "%.17g" : "%.6f", value(random));
        expectSameBits(text);
    }
}

} // namespace
} // namespace kv::geom
