// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/specification.h"

#include "support/builders.h"

#include <gtest/gtest.h>

namespace zenbalo {
namespace {

TEST(ParseFraction, ReadsFractionsOnly) {
    struct Case {
        const char *text;
        double want;
    } cases[] = {
        {"1/300", 1.0 / 300},
        {"300", -1},
        {"/300", -1},
        {"1/", -1},
        {"0/0", -1},
        {"2/1", -1},
        {"1/1", 1},
        {"1/4", 0.25},
        {"0/300", 0},
        {"1.5/300", 0.005},
        {"1/2/3", 0.5},
        {"", -1},
        {"1 / 3 00", 1.0 / 300},
        {"a/300", 0},
        {"1/abc", -1},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_DOUBLE_EQ(ParseFraction(c.text), c.want);
    }
    const std::string huge(400, '9');
    EXPECT_EQ(ParseFraction(huge + "/" + huge), -1) << "inf/inf is no probability";
}

TEST(ParseRate, ReadsPercentOrFraction) {
    struct Case {
        const char *text;
        double want;
    } cases[] = {{"75", 0.75}, {"", 0}, {"100", 1}, {"100.1", -1}, {"1/4", 0.25}, {"50", 0.5}, {"/4", -1}, {"1/", -1}};
    for (const Case &c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_DOUBLE_EQ(ParseRate(c.text), c.want);
    }
}

MachineRecord goodMachine() { return zenbalo::testing::workedExampleMachine(); }

TEST(Validation, MessagesAndTheirPriority) {
    struct Case {
        const char *name;
        std::vector<std::pair<int, std::string>> boxes; // index, text; -1 rate, -2 total
        const char *want;
    } cases[] = {
        {"valid", {}, ""},
        {"total empty", {{-2, ""}}, "総回転数は1～5000回転です。"},
        {"total 5001", {{-2, "5001"}}, "総回転数は1～5000回転です。"},
        {"total 5000", {{-2, "5000"}}, ""},
        {"total beyond 32 bits", {{-2, "99999999999"}}, "総回転数は1～5000回転です。"},
        {"rate 0.5", {{-1, "0.5"}}, "回転率は1～100回転です。"},
        {"rate empty", {{-1, ""}}, "回転率は1～100回転です。"},
        {"rate 18.5", {{-1, "18.5"}}, ""},
        {"rate 100", {{-1, "100"}}, ""},
        {"rate 100.01", {{-1, "100.01"}}, "回転率は1～100回転です。"},
        {"payout 0", {{15, "0"}}, "大当たり出玉は1～10000個です。"},
        {"payout 10001", {{15, "10001"}}, "大当たり出玉は1～10000個です。"},
        {"payout beyond 32 bits", {{15, "3000000000"}}, "大当たり出玉は1～10000個です。"},
        {"payout over rate over total", {{15, ""}, {-1, ""}, {-2, ""}}, "大当たり出玉は1～10000個です。"},
        {"rate over total", {{-1, ""}, {-2, ""}}, "回転率は1～100回転です。"},
        {"time-saving 4", {{13, "101"}}, "時短4突入率が異常です。"},
        {"time-saving 1 over 4", {{13, "101"}, {7, "1/"}}, "時短1突入率が異常です。"},
        {"time-saving 2 over 3", {{11, "1/"}, {9, "1/"}}, "時短2突入率が異常です。"},
        {"count beyond 16 bits", {{5, "40000"}}, "確変回転数が異常です。"},
        {"limit beyond 16 bits", {{6, "32768"}}, "確変リミットが異常です。"},
        {"time-saving rotations beyond 16 bits", {{12, "99999"}}, "時短3回転数が異常です。"},
        {"32767 fits", {{5, "32767"}}, ""},
        {"fall rate", {{4, "200"}}, "確変転落率が異常です。"},
        {"entry over fall", {{4, "200"}, {3, "2/1"}}, "確変突入率が異常です。"},
        {"high probability 00", {{2, "00"}}, "高確率時が異常です。"},
        {"high probability 0.0", {{2, "0.0"}}, "高確率時が異常です。"},
        {"high probability 0", {{2, "0"}}, ""},
        {"big hit over everything", {{1, "300"}, {2, "00"}, {13, "101"}, {-2, ""}}, "大当たり確率が異常です。"},
        {"big hit 1/1", {{1, "1/1"}}, "大当たり確率が異常です。"},
        {"big hit 1/4", {{1, "1/4"}}, ""},
        {"big hit 0/300 passes here", {{1, "0/300"}}, ""},
        {"empty total and bad big hit", {{-2, ""}, {1, "/300"}}, "大当たり確率が異常です。"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        MachineRecord text1 = goodMachine();
        std::string rate = "20", total = "2000";
        for (const auto &[index, text] : c.boxes) {
            if (index == -1)
                rate = text;
            else if (index == -2)
                total = text;
            else
                text1[index] = text;
        }
        const Validation v = validateSpecification(text1, rate, total);
        EXPECT_EQ(v.message, c.want);
        EXPECT_EQ(v.passed(), std::string(c.want).empty());
    }
}

TEST(Validation, HandsOnTheNumbersRead) {
    MachineRecord text1 = {"x",   "1/300", "1/40", "1/2", "", "100", "5", "100",
                           "100", "50",    "10",   "",    "", "",    "",  "1500"};
    const Validation v = validateSpecification(text1, "18.5", "2000.5");
    ASSERT_TRUE(v.passed());
    EXPECT_DOUBLE_EQ(v.spec.p, 1.0 / 300);
    EXPECT_DOUBLE_EQ(v.spec.h, 1.0 / 40);
    EXPECT_EQ(v.spec.e, 0.5);
    EXPECT_EQ(v.spec.R, 100);
    EXPECT_EQ(v.spec.L, 5);
    EXPECT_EQ(v.spec.t[0], 1.0);
    EXPECT_EQ(v.spec.m[0], 100);
    EXPECT_EQ(v.spec.t[1], 0.5);
    EXPECT_EQ(v.spec.m[1], 10);
    EXPECT_EQ(v.spec.N, 2000) << "halves go to the even neighbour";
    EXPECT_EQ(v.spec.B, 1500);
    EXPECT_EQ(v.spec.rotationRate, 18.5);
}

} // namespace
} // namespace zenbalo
