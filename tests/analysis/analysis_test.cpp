#include "analysis/analysis.h"

#include <cmath>
#include <gtest/gtest.h>
#include <limits>

namespace zenbalo {
namespace {

// The machine of the worked example: 1/100 combined, 2000 balls a hit, 28 balls per 100 yen.
SharedResults machine() {
    SharedResults shared;
    shared.totalHitProbability = 0.01;
    shared.payoutPerHit = 2000;
    shared.yenPerBall = 100.0 / 28;
    shared.machineName = "CR機種";
    return shared;
}

TEST(RunAnalysis, Results) {
    struct Case {
        const char *name;
        AnalysisTotals totals;
        AnalysisResults want;
    } cases[] = {
        {"worked example", {"1000", "12", "20000", "30000"}, {"¥41429", "¥27143", "2.000", "120.000", "21.739"}},
        {"hits as expected, a loss", {"1000", "10", "16", "4700"}, {"¥-4643", "¥-4643", "0.000", "100.000", "11.815"}},
        {"no hit", {"500", "", "", "15000"}, {"¥-15000", "¥20714", "-5.000", "0.000", "33.333"}},
        {"leading zeros and trailing text",
         {"01000", "0012", "20000個", "30000"},
         {"¥41429", "¥27143", "2.000", "120.000", "21.739"}},
        // More balls exchanged than the hits paid: shown as it comes.
        {"negative consumed", {"1000", "", "20000", "30000"}, {"¥41429", "¥112857", "-10.000", "0.000", "-20.000"}},
        {"largest totals that fit",
         {"2147483647", "", "", "2147483647"},
         {"¥-2147483647", "¥151244205424", "-21474836.470", "0.000", "1000.000"}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        const std::optional<AnalysisResults> got = RunAnalysis(c.totals, machine());
        ASSERT_TRUE(got.has_value());
        EXPECT_EQ(*got, c.want);
    }
}

TEST(RunAnalysis, UsesTheUnroundedYenPerBall) {
    // 3.571 per ball would make 71420 of these balls worth 255040, not 255070.
    const std::optional<AnalysisResults> got = RunAnalysis({"1000", "10", "71420", "1"}, machine());
    ASSERT_TRUE(got.has_value());
    EXPECT_EQ((*got)[0], "¥255070");
}

TEST(RunAnalysis, SilentCases) {
    const double infinity = std::numeric_limits<double>::infinity();
    struct Case {
        const char *name;
        AnalysisTotals totals;
        double totalHitProbability;
        double yenPerBall;
    } cases[] = {
        {"empty rotations", {"", "12", "20000", "30000"}, 0.01, 100.0 / 28},
        {"no rotation number", {"abc", "12", "20000", "30000"}, 0.01, 100.0 / 28},
        {"invested 0", {"1000", "12", "20000", "0"}, 0.01, 100.0 / 28},
        {"empty invested", {"1000", "12", "20000", ""}, 0.01, 100.0 / 28},
        {"consumed 0", {"1000", "", "1000", "4000"}, 0.01, 100.0 / 28},
        {"rotations beyond 32 bits", {"2147483648", "12", "20000", "30000"}, 0.01, 100.0 / 28},
        {"hits beyond 32 bits", {"1000", "2147483648", "20000", "30000"}, 0.01, 100.0 / 28},
        {"balls beyond 32 bits", {"1000", "12", "99999999999", "30000"}, 0.01, 100.0 / 28},
        {"invested beyond 32 bits", {"1000", "12", "20000", "2147483648"}, 0.01, 100.0 / 28},
        {"won balls beyond 32 bits", {"1000", "2000000", "20000", "30000"}, 0.01, 100.0 / 28},
        // 1100000 hits pay 2.2e9 balls; less the exchanged ones it would fit again.
        {"won balls overflow though the total fits", {"1000", "1100000", "2000000000", "30000"}, 0.01, 100.0 / 28},
        {"played back balls as yen beyond 32 bits", {"1000", "300000", "", "30000"}, 0.01, 100.0 / 28},
        // (268436 × 2000 − 1089) × 4 = 2147483644; four more yen leave 32 bits.
        {"adding the money leaves 32 bits", {"1000", "268436", "1089", "4"}, 0.01, 100.0 / 28},
        {"no hit expected", {"1000", "12", "20000", "30000"}, 0, 100.0 / 28},
        {"endless yen per ball", {"1000", "12", "20000", "30000"}, 0.01, infinity},
        {"yen per ball not a number", {"1000", "12", "20000", "30000"}, 0.01, std::nan("")},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        SharedResults shared = machine();
        shared.totalHitProbability = c.totalHitProbability;
        shared.yenPerBall = c.yenPerBall;
        EXPECT_EQ(RunAnalysis(c.totals, shared), std::nullopt);
    }
}

TEST(MachineFigures, Labels) {
    struct Case {
        const char *name;
        int32_t payout;
        double yenPerBall;
        MachineFigures want;
    } cases[] = {
        {"worked example", 2000, 100.0 / 28, {"2000", "3.571"}},
        {"one yen per ball", 1500, 1, {"1500", "1.000"}},
        {"below one yen", 1, 0.25, {"1", "0.250"}},
        {"endless yen per ball", 2000, std::numeric_limits<double>::infinity(), {"2000", "-"}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        SharedResults shared;
        shared.payoutPerHit = c.payout;
        shared.yenPerBall = c.yenPerBall;
        const MachineFigures got = machineFigures(shared);
        EXPECT_EQ(got.payout, c.want.payout);
        EXPECT_EQ(got.yenPerBall, c.want.yenPerBall);
    }
}

} // namespace
} // namespace zenbalo
