// SPDX-License-Identifier: GPL-3.0-or-later
#include "common/format.h"

#include <gtest/gtest.h>

namespace zenbalo {
namespace {

TEST(FormatNumber, Patterns) {
    struct Case {
        double value;
        const char *pattern;
        const char *want;
    } cases[] = {
        {6.666666666666667, "###0.000", "6.667"},
        {13.333333333333334, "###0.000", "13.333"},
        {2, "###0.000", "2.000"},
        {0, "###0.000", "0.000"},
        {0.0005, "###0.000", "0.001"}, // half away from zero
        {0.285, "###0.00", "0.29"},    // the double lies just below; 15 digits first
        {1.0005, "###0.000", "1.001"},
        {2.675, "###0.00", "2.68"},
        {-0.0004, "###0.000", "0.000"}, // no minus sign on zero
        {-0.0005, "###0.000", "-0.001"},
        {-28600, "###0", "-28600"},
        {-0.0, "###0", "0"},
        {-0.4, "###0", "0"},
        {2999.5, "###0", "3000"},
        {-2.5, "###0", "-3"},
        {0.5, "###.000", ".500"},
        {0, "###.000", ".000"},
        {1.5, "###.000", "1.500"},
        {-0.5, "###.000", "-.500"},
        {0, "###", ""},
        {0.4, "###", ""},
        {0.5, "###", "1"},
        {1234567, "###", "1234567"},
        {99.9995, "###0.000", "100.000"},
        {1e20, "###0", "100000000000000000000"},
        {-1.2345678901234567e19, "###0", "-12345678901234600000"},
        {123456789.123456789, "###0.000", "123456789.123"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(std::string(c.pattern) + " " + c.want);
        EXPECT_EQ(formatNumber(c.value, c.pattern), c.want);
    }
}

} // namespace
} // namespace zenbalo
