// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/calculation.h"
#include "engine/model.h"

#include "support/builders.h"
#include <cmath>
#include <string>

#include <gtest/gtest.h>

namespace zenbalo {
namespace {

TEST(AverageHitsPerFirstHit, WorkedExamples) {
    struct Case {
        const char *name;
        double p, h, e;
        int16_t R, L;
        double t1;
        int16_t m1;
        double want;
    } cases[] = {
        {"until next hit", 1.0 / 300, 0, 0.5, 10000, 10000, 0, 0, 2.0},
        {"with time-saving", 1.0 / 300, 0, 0.5, 10000, 10000, 1, 100, 2.7927794179852667},
        {"limiter alone ends the chain", 1.0 / 300, 0, 1, 10000, 5, 0, 0, 5.0},
        {"limited change, every hit enters", 1.0 / 300, 1.0 / 40, 1, 100, 0, 0, 0, 12.575881317605168},
        {"limited change counts the entry rate once", 1.0 / 300, 1.0 / 40, 0.5, 100, 0, 0, 0, 1.8526799142383186},
        {"limited change of 9999 rotations", 1.0 / 300, 1.0 / 40, 0.5, 9999, 0, 0, 0, 2.0},
        {"no change at all", 1.0 / 300, 1.0 / 40, 0.9, 0, 0, 0.5, 100,
         1 / (1 - 0.5 * (1 - std::pow(299.0 / 300, 100)))},
        {"no time-saving, no change", 1.0 / 300, 0, 0, 0, 0, 0, 0, 1.0},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        Specification spec;
        spec.p = c.p;
        spec.h = c.h;
        spec.e = c.e;
        spec.R = c.R;
        spec.L = c.L;
        spec.t[0] = c.t1;
        spec.m[0] = c.m1;
        EXPECT_NEAR(AverageHitsPerFirstHit(spec), c.want, 1e-12);
    }
}

// Any two stages with the same figures count the same, whichever they are.
TEST(AverageHitsPerFirstHit, StagesAddUp) {
    const double p = 1.0 / 200;
    const double one = 0.3 * (1 - std::pow(1 - p, 50));
    const double two = 0.2 * (1 - std::pow(1 - p, 20));
    for (const auto &[first, second] : {std::pair{0, 2}, std::pair{1, 3}, std::pair{3, 0}}) {
        SCOPED_TRACE(std::to_string(first) + " and " + std::to_string(second));
        Specification spec;
        spec.p = p;
        spec.t[static_cast<size_t>(first)] = 0.3;
        spec.m[static_cast<size_t>(first)] = 50;
        spec.t[static_cast<size_t>(second)] = 0.2;
        spec.m[static_cast<size_t>(second)] = 20;
        EXPECT_DOUBLE_EQ(AverageHitsPerFirstHit(spec), 1 / (1 - (one + two)));
    }
}

struct Machine {
    MachineRecord text1;
    std::string rate = zenbalo::testing::kWorkedExampleRate;
    std::string total = zenbalo::testing::kWorkedExampleTotal;
    double yenPerBall = zenbalo::testing::kWorkedExampleYenPerBall;
};

Machine workedExample() { return {zenbalo::testing::workedExampleMachine()}; }

CalculationDisplay run(const Machine &m, SharedResults &shared) {
    shared.yenPerBall = m.yenPerBall;
    return runCalculation(m.text1, m.rate, m.total, shared);
}

TEST(Calculation, WorkedExampleFillsSummaryAndTable) {
    SharedResults shared;
    const CalculationDisplay d = run(workedExample(), shared);
    EXPECT_EQ(d.status, "");
    EXPECT_EQ(d.summary, (std::array<std::string, 5>{"6.667", "13.333", "2.000", "1/150.000", "3000"}));
    EXPECT_EQ(d.borders[0], "28.000");
    EXPECT_EQ(d.borders[5], "26.500");
    EXPECT_EQ(d.borders[10], "25.000");
    EXPECT_EQ(d.balances[0], "\u00A5-28600");
    EXPECT_EQ(d.balances[5], "\u00A5-23300");
    EXPECT_EQ(d.balances[10], "\u00A5-17900");
    EXPECT_DOUBLE_EQ(shared.totalHitProbability, 2.0 / 300);
    EXPECT_EQ(shared.payoutPerHit, 1500);
    EXPECT_EQ(shared.rotationRate, 20);
    EXPECT_EQ(shared.totalRotations, 2000);
    EXPECT_DOUBLE_EQ(shared.hitProbability, 1.0 / 300);
}

TEST(Calculation, TwentyFiveBallsMakeEveryRowEqual) {
    Machine m = workedExample();
    m.yenPerBall = 4;
    SharedResults shared;
    const CalculationDisplay d = run(m, shared);
    ASSERT_TRUE(d.succeeded()) << d.status;
    EXPECT_EQ(d.borders[0], "25.000");
    for (int k = 1; k < kTableRows; ++k) {
        EXPECT_EQ(d.borders[k], d.borders[0]);
        EXPECT_EQ(d.balances[k], d.balances[0]);
    }
}

TEST(Calculation, BalanceIsFlooredTo100YenWithoutNoise) {
    // Exact break-even at 0 %: the doubles give -3.6e-12.
    Machine m{{"x", "1/100", "", "50", "", "10000", "10000", "", "", "", "", "", "", "", "", "200"},
              "82.5",
              "2000",
              100.0 / 33};
    SharedResults shared;
    const CalculationDisplay d = run(m, shared);
    EXPECT_EQ(d.borders[0], "82.500");
    EXPECT_EQ(d.balances[0], "¥0");
    EXPECT_EQ(d.balances[1], "¥500");  // 587.7
    EXPECT_EQ(d.balances[9], "¥5200"); // 5289.3
}

TEST(Calculation, SmallBalancesRoundDown) {
    // Payout tuned so that the 0 % balance is 1 yen and then -1 yen.
    Machine m{{"x", "1/100", "", "", "", "", "", "", "", "", "", "", "", "", "", "101"}, "20", "100", 4};
    SharedResults shared;
    // 100 * 0.01 * 1 * 101 * 4 - 100 * 4 * 12.5 = 404 - 5000
    EXPECT_EQ(run(m, shared).balances[0], "\u00A5-4600");
    m.text1[15] = "1250";
    m.total = "1";
    // 0.01 * 1250 * 4 - 4 * 12.5 = 0
    EXPECT_EQ(run(m, shared).balances[0], "¥0");
    m.rate = "20.8";
    // 50 - 4 * 250 / 20.8 = 1.92 yen
    EXPECT_EQ(run(m, shared).balances[0], "¥0");
    m.rate = "19.9";
    // 50 - 50.25 = -0.25 yen
    EXPECT_EQ(run(m, shared).balances[0], "\u00A5-100");
}

TEST(Calculation, FailuresLeaveDashesAndTheLastTotalProbability) {
    struct Case {
        const char *name;
        int index;
        std::string text;
        double yenPerBall;
        const char *want;
    } cases[] = {
        {"validation", 1, "300", 100.0 / 28, "大当たり確率が異常です。"},
        {"zero big-hit probability", 1, "0/300", 100.0 / 28, "大当たり確率が異常です。"},
        // 1e-309: the borders are still finite, the total probability 1/∞.
        {"big-hit probability without a reciprocal", 1, "0." + std::string(308, '0') + "1/1", 100.0 / 28,
         "大当たり確率が異常です。"},
        {"limiter of 0 when every hit recurs", 3, "100", 100.0 / 28, "確変リミットが異常です。"},
        {"chain that never ends", 7, "100", 100.0 / 28, "平均連荘数を計算できません。"},
        {"no exchange rate", 0, "x", 0, "換金率が異常です。"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        SharedResults shared;
        run(workedExample(), shared);
        Machine m = workedExample();
        m.text1[c.index] = c.text;
        m.yenPerBall = c.yenPerBall;
        if (std::string(c.name) == "limiter of 0 when every hit recurs")
            m.text1[6] = "0";
        if (std::string(c.name) == "chain that never ends") {
            m.text1[3] = "0"; // no change; a time-saving stage that always hits
            m.text1[8] = "32000";
            m.text1[1] = "1/4";
        }
        const CalculationDisplay d = run(m, shared);
        EXPECT_EQ(d.status, c.want);
        EXPECT_FALSE(d.succeeded());
        for (const std::string &s : d.summary)
            EXPECT_EQ(s, "-");
        for (int k = 0; k < kTableRows; ++k) {
            EXPECT_EQ(d.borders[k], "-");
            EXPECT_EQ(d.balances[k], "-");
        }
        EXPECT_DOUBLE_EQ(shared.totalHitProbability, 2.0 / 300);
    }
}

TEST(Calculation, SharedResultsFollowTheLatestTexts) {
    SharedResults shared;
    Machine m = workedExample();
    m.text1[1] = "1/3";
    m.rate = "0.5";
    m.total = "4999";
    m.text1[15] = "700";
    run(m, shared);
    EXPECT_DOUBLE_EQ(shared.hitProbability, 1.0 / 3);
    EXPECT_EQ(shared.rotationRate, 0.5);
    EXPECT_EQ(shared.totalRotations, 4999);
    EXPECT_EQ(shared.payoutPerHit, 700);
    m.text1[1] = "3";
    run(m, shared);
    EXPECT_EQ(shared.hitProbability, -1);
}

TEST(Calculation, HugeChainsPrintInFull) {
    // No limiter on a machine whose change always recurs: 10000 hits a chain.
    Machine m{{"x", "1/4", "", "100", "", "10000", "10000", "", "", "", "", "", "", "", "", "10000"}, "1", "5000", 0.1};
    SharedResults shared;
    const CalculationDisplay d = run(m, shared);
    EXPECT_EQ(d.summary[2], "10000.000");
    EXPECT_EQ(d.summary[4], "100000000");
    // 5000 * 0.25 * 10000 * 1000 - 5000 * 4 * 250
    EXPECT_EQ(d.balances[0], "¥12495000000");
    EXPECT_EQ(d.status, "");
}

} // namespace
} // namespace zenbalo
