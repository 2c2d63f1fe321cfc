// SPDX-License-Identifier: GPL-3.0-or-later
#include "analysis/analysis.h"

#include <gtest/gtest.h>
#include <limits>

namespace zenbalo {
namespace {

const double kEndless = std::numeric_limits<double>::infinity();

// 1/100 combined, 2000 balls a hit, 28 balls per 100 yen.
SharedResults machine(double totalHitProbability = 0.01, double yenPerBall = 100.0 / 28) {
    return {2000, yenPerBall, totalHitProbability, "CR機種", 1.0 / 300, 20};
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
        {"negative consumed is shown",
         {"1000", "", "20000", "30000"},
         {"¥41429", "¥112857", "-10.000", "0.000", "-20.000"}},
        {"largest totals",
         {"2147483647", "", "", "2147483647"},
         {"¥-2147483647", "¥151244205424", "-21474836.470", "0.000", "1000.000"}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(RunAnalysis(c.totals, machine()), c.want);
    }
}

TEST(RunAnalysis, SilentCases) {
    struct Case {
        const char *name;
        AnalysisTotals totals;
        SharedResults shared;
    } cases[] = {
        {"empty rotations", {"", "12", "20000", "30000"}, machine()},
        {"invested 0", {"1000", "12", "20000", "0"}, machine()},
        {"consumed 0", {"1000", "", "1000", "4000"}, machine()},
        {"rotations beyond 32 bits", {"2147483648", "12", "20000", "30000"}, machine()},
        {"hits beyond 32 bits", {"1000", "2147483648", "20000", "30000"}, machine()},
        // 2.2e9 won balls; less the exchanged ones the total would fit again.
        {"won balls beyond 32 bits", {"1000", "1100000", "2000000000", "30000"}, machine()},
        {"played back balls as yen beyond 32 bits", {"1000", "300000", "", "30000"}, machine()},
        // (268436 × 2000 − 1089) × 4 = 2147483644
        {"adding the money leaves 32 bits", {"1000", "268436", "1089", "4"}, machine()},
        {"no hit expected", {"1000", "12", "20000", "30000"}, machine(0)},
        {"endless yen per ball", {"1000", "12", "20000", "30000"}, machine(0.01, kEndless)},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(RunAnalysis(c.totals, c.shared), std::nullopt);
    }
}

TEST(MachineFigures, EndlessYenPerBallShowsDash) {
    EXPECT_EQ(machineFigures(machine(0.01, kEndless)).yenPerBall, "-");
    EXPECT_EQ(machineFigures(machine(0.01, 0.25)).yenPerBall, "0.250");
}

} // namespace
} // namespace zenbalo
