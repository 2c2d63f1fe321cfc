// SPDX-License-Identifier: GPL-3.0-or-later
#include "risk/day_balance.h"

#include "support/risk_reference.h"

#include <algorithm>
#include <cmath>
#include <gtest/gtest.h>
#include <limits>
#include <numeric>

namespace zenbalo {
namespace {

// 1/319.7, chains of 2.736, 1400 balls at 28 per 100 yen, 20 per 1000 yen.
DayBalanceInput sampleMachine(int32_t n = 2000) { return {1 / 319.7, 2.736, 1400, 100.0 / 28, 20, n, 0}; }
// 1/100, chains of 2, 1000 balls at 25 per 100 yen, 24 per 1000 yen: a
// rotation costs 41.67 yen and brings 80 on average.
DayBalanceInput winningMachine(int32_t n = 500) { return {0.01, 2, 1000, 4, 24, n, 0}; }

TEST(DayBalance, SampleMachine) {
    // E = 2000/319.7 * 2.736 * 5000 - 100000 = -14419.77; SD = 5000 sqrt(17.116 (5.472 - 1 - 0.00856)) = 43702.54.
    // The exact mixture sums at 40 digits give P(plus) = P(H >= 21) = 0.31153 and the quantiles 5, 11, 16, 22, 33 hits.
    const std::array<std::string, kDayBalanceFigures> want = {"¥-14420", "¥43703", "31.2%",  "¥-75000", "¥-45000",
                                                              "¥-20000", "¥10000", "¥65000", "-",       "-"};
    EXPECT_EQ(dayBalance(sampleMachine()).texts, want);
}

TEST(DayBalance, Figures) {
    struct Case {
        const char *name;
        DayBalanceInput input;
        std::array<std::string, 5> want; // expectation, SD, chance of plus, convergence rotations and days
        int plusFrom;                    // the fewest hits with v h > C
        int maxHits;                     // beyond all but 1e-13 of the days
    } cases[] = {
        // E = 500 (80 - 41.667) = 19166.67; n = (1.645 * 4000 sqrt(0.02 * 2.98) / 38.333)^2 = 1756.08, so 1757
        // rotations, 3.514 days; P(plus) = P(H >= 6) = 0.78471 from the exact sums at 30 digits.
        {"positive expectation", winningMachine(), {"¥19167", "¥21836", "78.5%", "1757", "3.5"}, 6, 200},
        // 4 yen a ball both ways: E = 2000 * 0.01 * 5000 - 100000 = 0 and m1 = 0, exactly at the edge.
        {"own balls at 25 per 100 yen", {0.01, 1, 1250, 4, 20, 2000, 1}, {"¥0", "¥22249", "44.1%", "-", "-"}, 21, 80},
        // 27 balls per 100 yen at a rate of 18: a hit is worth 100000/27 yen, the day costs 30 hits, and 1/180
        // with chains of 2.7 brings 30 on average; in doubles both come out a hair above break-even.
        {"break-even off by rounding",
         {1 / 180.0, 2.7, 1000, 100.0 / 27, 18, 2000, 0},
         {"¥0", "¥42480", "44.5%", "-", "-"},
         31,
         250},
        // One hit pays for the day: P(plus) = 1 - (1 - 1e-9)^50 = 5.0e-8.
        {"first hits almost never",
         {1e-9, 2.736, 1400, 100.0 / 28, 20, 50, 0},
         {"¥-2500", "¥4", "0.0%", "-", "-"},
         1,
         40},
        {"the largest day", sampleMachine(32767), {"¥-236246", "¥176893", "9.5%", "-", "-"}, 328, 700},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        const DayBalance got = dayBalance(c.input);
        ASSERT_TRUE(got.valid);
        const std::array<std::string, 5> texts = {got.texts[Expectation], got.texts[StandardDeviation],
                                                  got.texts[PlusChance], got.texts[ConvergenceRotations],
                                                  got.texts[ConvergenceDays]};
        EXPECT_EQ(texts, c.want);
        const DayBalanceInput &in = c.input;
        const std::vector<double> cdf = testing::cumulative(
            testing::hitsByConvolution(in.totalRotations, in.hitProbability, in.averageChain, c.maxHits));
        EXPECT_NEAR(got.figures.plusChance, 1 - cdf[static_cast<size_t>(c.plusFrom) - 1], 1e-12);
        for (size_t i = 0; i < kBalanceQuantiles; ++i) {
            const auto h =
                std::find_if(cdf.begin(), cdf.end(), [&](double p) { return p >= kBalanceQuantileLevels[i]; });
            EXPECT_EQ(got.figures.quantileHits[i], static_cast<double>(h - cdf.begin())) << i;
        }
    }
}

TEST(DayBalance, AgreesWithSimulatedDays) {
    struct Case {
        const char *name;
        DayBalanceInput input;
    } cases[] = {{"the sample machine", sampleMachine()}, {"a winning machine", winningMachine(3000)}};
    const int days = 100000;
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        const DayBalanceInput &in = c.input;
        const DayBalance exact = dayBalance(in);
        const std::vector<double> hits =
            testing::simulatedDayHits(in.totalRotations, in.hitProbability, in.averageChain, days, 20240601);
        const double v = in.payoutPerHit * in.yenPerBall, cost = in.totalRotations * 4 * 250 / in.rotationRate;
        auto share = [&](auto &&pred) {
            return static_cast<double>(std::count_if(hits.begin(), hits.end(), pred)) / days;
        };
        auto fiveSigma = [&](double p) { return 5 * std::sqrt(p * (1 - p) / days); };

        const double mean = std::accumulate(hits.begin(), hits.end(), 0.0) / days * v - cost;
        EXPECT_NEAR(mean, exact.figures.expectation, 5 * exact.figures.standardDeviation / std::sqrt(days));
        const double plus = exact.figures.plusChance;
        EXPECT_NEAR(share([&](double h) { return h * v > cost + 1e-6; }), plus, fiveSigma(plus));
        for (size_t i = 0; i < kBalanceQuantiles; ++i) {
            const double level = kBalanceQuantileLevels[i], h = exact.figures.quantileHits[i];
            EXPECT_GE(share([&](double x) { return x <= h; }), level - fiveSigma(level)) << level;
            EXPECT_LE(share([&](double x) { return x < h; }), level + fiveSigma(level)) << level;
        }
    }
}

TEST(DayBalance, Histogram) {
    struct Case {
        const char *name;
        DayBalanceInput input;
        double width; // hits per bar; 0: whatever the second bar has
        int maxHits;  // of the convolution the bars must match; 0: none
    } cases[] = {
        {"0 to 53 hits, one bar each: all but 0.09 % of the days", sampleMachine(), 1, 60},
        {"0.1 % to 99.9 % is 11 to 77 hits, plus from 20: two a bar", winningMachine(1900), 2, 200},
        {"worst input", {0.25, 3e20, 10000, 4, 1, kMaxDayRotations, 0}, 0, 0},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        const DayBalanceInput &in = c.input;
        const DayBalance got = dayBalance(in);
        const std::vector<HistogramBar> &bars = got.histogram.bars;
        ASSERT_GT(bars.size(), 1u);
        EXPECT_LE(bars.size(), size_t{kMaxHistogramBars});
        const std::vector<double> want =
            testing::hitsByConvolution(in.totalRotations, in.hitProbability, in.averageChain, c.maxHits);
        const double width = c.width > 0 ? c.width : bars[1].lastHits - bars[1].firstHits + 1;
        const double v = in.payoutPerHit * in.yenPerBall, cost = in.totalRotations * 4 * 250 / in.rotationRate;
        double total = got.histogram.probabilityBelow + got.histogram.probabilityAbove, plus = 0;
        for (size_t i = 0; i < bars.size(); ++i) {
            const HistogramBar &bar = bars[i];
            total += bar.probability;
            plus += bar.plus ? bar.probability : 0;
            EXPECT_NEAR(bar.fromYen + v / 2, v * bar.firstHits - cost, 1e-9 * (std::abs(bar.fromYen) + cost)) << i;
            if (i > 0) {
                EXPECT_NEAR(bar.lastHits - bar.firstHits + 1, width, width * 1e-12) << i;
                EXPECT_NEAR(bar.fromYen, bars[i - 1].toYen, 1e-9 * std::abs(bar.fromYen)) << i;
            }
            if (c.maxHits > 0) {
                const auto first = want.begin() + static_cast<long>(bar.firstHits);
                EXPECT_NEAR(bar.probability, std::accumulate(first, first + static_cast<long>(width), 0.0), 1e-12) << i;
            }
        }
        EXPECT_NEAR(total, 1, 1e-12);
        plus += (bars.front().plus ? got.histogram.probabilityBelow : 0) +
                (bars.back().plus ? got.histogram.probabilityAbove : 0);
        EXPECT_NEAR(plus, got.figures.plusChance, 1e-12);
    }
}

TEST(DayBalance, ExtremesStayFinite) {
    struct Case {
        const char *name;
        DayBalanceInput input;
    } cases[] = {
        {"worst input", {0.25, 3e20, 10000, 4, 1, kMaxDayRotations, 1}},
        {"the smallest probability", {2.3e-308, 3e20, 10000, 4, 100, kMaxDayRotations, 0}},
        {"chains an ulp above 1", {0.25, 1 + 2.2e-16, 1400, 100.0 / 28, 20, kMaxDayRotations, 0}},
        {"one rotation", {0.25, 2.736, 1, 100.0 / 40, 100, 1, 0.5}},
        {"break-even past 2^53 hits", {0.01, 2, 1400, 4, 1e-300, 2000, 0}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        const DayBalance got = dayBalance(c.input);
        ASSERT_TRUE(got.valid);
        for (const std::string &text : got.texts)
            EXPECT_TRUE(text == "-" || text.find_first_of("NI") == std::string::npos) << text;
        EXPECT_TRUE(std::is_sorted(got.figures.quantileBalances.begin(), got.figures.quantileBalances.end()));
        EXPECT_GE(got.figures.plusChance, 0);
        EXPECT_LE(got.figures.plusChance, 1);
    }
}

TEST(DayBalance, RejectsWhatItCannotModel) {
    const double nan = std::numeric_limits<double>::quiet_NaN(), endless = std::numeric_limits<double>::infinity();
    struct Case {
        const char *name;
        DayBalanceInput input;
    } cases[] = {
        {"no probability", {0, 2, 1400, 4, 20, 2000, 0}},
        {"probability not a number", {nan, 2, 1400, 4, 20, 2000, 0}},
        {"chains shorter than one hit", {0.01, 0.5, 1400, 4, 20, 2000, 0}},
        {"endless chains", {0.01, endless, 1400, 4, 20, 2000, 0}},
        {"chains whose spread overflows", {0.01, 1e300, 1400, 4, 20, 2000, 0}},
        {"no balls per hit", {0.01, 2, 0, 4, 20, 2000, 0}},
        {"no yen per ball", {0.01, 2, 1400, 0, 20, 2000, 0}},
        {"endless rotation rate", {0.01, 2, 1400, 4, endless, 2000, 0}},
        {"a day that costs more than a double holds", {0.01, 2, 1400, 4, 1e-305, 2000, 0}},
        {"no rotations", {0.01, 2, 1400, 4, 20, 0, 0}},
        {"more rotations than a day holds", {0.01, 2, 1400, 4, 20, kMaxDayRotations + 1, 0}},
        {"own-ball ratio above 100 %", {0.01, 2, 1400, 4, 20, 2000, 1.1}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        const DayBalance got = dayBalance(c.input);
        EXPECT_FALSE(got.valid);
        EXPECT_TRUE(std::all_of(got.texts.begin(), got.texts.end(), [](const std::string &t) { return t == "-"; }));
        EXPECT_TRUE(got.histogram.bars.empty());
    }
}

TEST(DayBalance, InputFromTheLastCalculation) {
    const SharedResults shared{1400, 100.0 / 28, 2.736 / 319.7, "CR機種", 1 / 319.7, 20};
    const DayBalanceInput in = dayBalanceInput(shared, 2000, 3);
    EXPECT_NEAR(in.averageChain, 2.736, 1e-14);
    EXPECT_EQ(in.ownBallRatio, 0.3); // as the table's row 3

    SharedResults roundedDown = shared;
    roundedDown.totalHitProbability = std::nextafter(shared.hitProbability, 0.0);
    EXPECT_EQ(dayBalanceInput(roundedDown, 2000, 0).averageChain, 1);
}

} // namespace
} // namespace zenbalo
