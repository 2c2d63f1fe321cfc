// SPDX-License-Identifier: GPL-3.0-or-later
#include "common/number.h"

#include <cmath>
#include <gtest/gtest.h>

namespace zenbalo {
namespace {

TEST(LeadingNumber, ReadsTheLongestLeadingDecimal) {
    struct Case {
        const char *text;
        double want;
    } cases[] = {
        {"", 0},       {"1/300", 1},     {"50%", 50}, {"12.5.3", 12.5}, {".", 0},         {".5", 0.5},
        {"1 2", 12},   {" 3 . 5 ", 3.5}, {"abc", 0},  {"-5", 0},        {"0.1", 0.1},     {"319.7", 319.7},
        {"00012", 12}, {"5e3", 5},       {"１２", 0}, {"\t7\n", 7},     {"10000", 10000},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(leadingNumber(c.text), c.want);
    }
}

TEST(LeadingNumber, TooLargeForADoubleIsInfinite) {
    EXPECT_TRUE(std::isinf(leadingNumber(std::string(400, '9'))));
    EXPECT_EQ(leadingNumber("0." + std::string(400, '0') + "1"), 0.0);
}

TEST(IntegerConversion, RoundsHalvesToEvenAndReportsOverflow) {
    struct Case {
        double value;
        std::optional<int16_t> want16;
        std::optional<int32_t> want32;
    } cases[] = {
        {0.5, 0, 0},
        {1.5, 2, 2},
        {2.5, 2, 2},
        {2.4999, 2, 2},
        {32767, 32767, 32767},
        {32767.5, std::nullopt, 32768},
        {32768, std::nullopt, 32768},
        {-32768.5, -32768, -32768},
        {2147483647.0, std::nullopt, 2147483647},
        {2147483647.5, std::nullopt, std::nullopt},
        {1e300, std::nullopt, std::nullopt},
        {INFINITY, std::nullopt, std::nullopt},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.value);
        EXPECT_EQ(toInt16(c.value), c.want16);
        EXPECT_EQ(toInt32(c.value), c.want32);
    }
}

TEST(PlainDecimal, ShortestTextThatReadsBack) {
    struct Case {
        double value;
        const char *want;
    } cases[] = {{18.5, "18.5"}, {20, "20"}, {0.5, "0.5"}, {0, "0"}, {1e20, "100000000000000000000"}, {0.1, "0.1"}};
    for (const Case &c : cases) {
        SCOPED_TRACE(c.want);
        EXPECT_EQ(plainDecimal(c.value), c.want);
        EXPECT_EQ(parseFileNumber(plainDecimal(c.value)), c.value);
        EXPECT_EQ(leadingNumber(plainDecimal(c.value)), c.value);
    }
}

TEST(FileNumber, AcceptsOnlyWholeNumbers) {
    struct Case {
        const char *text;
        std::optional<double> want;
    } cases[] = {
        {"-1", -1},
        {"0.5", 0.5},
        {".5", 0.5},
        {" 20 ", 20},
        {"+3", 3},
        {"", std::nullopt},
        {"abc", std::nullopt},
        {"1a", std::nullopt},
        {"1.2.3", std::nullopt},
        {"-", std::nullopt},
        {".", std::nullopt},
        {"1e5", std::nullopt},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(parseFileNumber(c.text), c.want);
    }
}

} // namespace
} // namespace zenbalo
