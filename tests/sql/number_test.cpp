#include "pdx/sql/number.h"

#include <gtest/gtest.h>

#include <limits>

using namespace pdx;
using namespace pdx::sql;

namespace {

// The exact decimal of an integer, to check IntegerBound against compareDecimals.
Decimal decimalOf(std::int64_t value) {
    Decimal result;
    result.negative = value < 0;
    std::uint64_t magnitude =
        value < 0 ? 0 - static_cast<std::uint64_t>(value) : static_cast<std::uint64_t>(value);
    result.digits = std::to_string(magnitude);
    return result;
}

TEST(Decimal, ReadsLiteralText) {
    struct Case {
        std::string text;
        bool negative;
        std::string digits;
        int scale;
    };
    for (const auto& c :
         {Case{"0", false, "0", 0}, Case{"-0.0", false, "0", 1}, Case{"007", false, "7", 0},
          Case{"-12.50", true, "1250", 2}, Case{"+.05", false, "5", 2}, Case{"5.", false, "5", 0}}) {
        auto d = parseDecimal(c.text);
        ASSERT_TRUE(d) << c.text;
        EXPECT_EQ(*d, (Decimal{c.negative, c.digits, c.scale})) << c.text;
    }
    for (std::string bad : {"", "-", ".", "1.2.3", "1a", "--1", " 1"}) EXPECT_FALSE(parseDecimal(bad)) << bad;
}

TEST(Decimal, OrdersByValue) {
    struct Case {
        std::string a, b;
        int expected;
    };
    for (const auto& c :
         {Case{"1", "2", -1}, Case{"2", "1", 1}, Case{"1.50", "1.5", 0}, Case{"0.05", "0.5", -1},
          Case{"10", "9.99", 1}, Case{"-1", "1", -1}, Case{"-2", "-1", -1}, Case{"-0", "0", 0},
          Case{"-0.5", "-0.05", -1}, Case{"0.001", "0", 1}, Case{"123456789012345678901234567890", "1", 1}}) {
        EXPECT_EQ(compareDecimals(*parseDecimal(c.a), *parseDecimal(c.b)), c.expected)
            << c.a << " vs " << c.b;
    }
    // BCD values may carry leading zeros and digits shorter than their scale.
    EXPECT_EQ(compareDecimals(Decimal{false, "0005", 2}, *parseDecimal("0.05")), 0);
    EXPECT_EQ(compareDecimals(Decimal{true, "5", 3}, *parseDecimal("-0.005")), 0);
}

TEST(IntegerBound, AgreesWithExactComparison) {
    const std::vector<std::string> bounds = {"0",
                                             "5",
                                             "-5",
                                             "2.5",
                                             "-2.5",
                                             "0.1",
                                             "-0.1",
                                             "9223372036854775807",
                                             "9223372036854775808",
                                             "-9223372036854775807.5",
                                             "-9223372036854775808",
                                             "-9223372036854775808.5",
                                             "-9223372036854775809",
                                             "1e0x"};
    const std::vector<std::int64_t> values = {0,
                                              1,
                                              2,
                                              3,
                                              5,
                                              6,
                                              -1,
                                              -2,
                                              -3,
                                              -5,
                                              -6,
                                              std::numeric_limits<std::int64_t>::max(),
                                              std::numeric_limits<std::int64_t>::min() + 1,
                                              std::numeric_limits<std::int64_t>::min()};
    for (const auto& text : bounds) {
        auto bound = parseDecimal(text);
        if (!bound) continue;
        IntegerBound integer(*bound);
        for (auto v : values)
            EXPECT_EQ(integer.compare(v), compareDecimals(decimalOf(v), *bound)) << v << " vs " << text;
    }
}

}  // namespace
