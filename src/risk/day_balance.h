// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "common/shared_results.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace zenbalo {

// How far a day's balance can swing, for the machine of the last calculation.
//
// Model: F ~ Binomial(N, p) first hits, each a chain of geometric length with
// mean A; H big hits worth v = B y yen each; a rotation costs c 250 / k yen with
// c = (1 - r) 4 + r y; the balance is X = v H - C, C = N c 250 / k. Every
// probability is exact to 1e-12 (see HitDistribution), never simulated.
//
// Use: DayBalance shown = dayBalance(dayBalanceInput(shared, rotations, line));
// then shown.texts[i] beside dayBalanceCaptions()[i], and the histogram's bars
// with lines at 0 and at shown.figures.expectation.
//
// Pure and thread-safe. On the 2-core reference machine (risk_bench) the sample
// machine takes about 0.2 ms and the worst input (N 32767, p 1/4, A 3e20)
// about 3 ms; no input needs a worker thread to keep a window responsive.

inline constexpr int32_t kMaxDayRotations = 32767;
inline constexpr int kOwnBallRatioLines = 11; // 0%, 10%, ... 100%

struct DayBalanceInput {
    double hitProbability = 0;  // p, 0 < p < 1
    double averageChain = 0;    // A >= 1: big hits per first hit, the first included
    double payoutPerHit = 0;    // B, balls per big hit, >= 1
    double yenPerBall = 0;      // y > 0
    double rotationRate = 0;    // k > 0, rotations per 1000 yen
    int32_t totalRotations = 0; // N, 1..kMaxDayRotations
    double ownBallRatio = 0;    // r, 0..1
};

// The input for the chooser's line 0..10 (r = line / 10, as the table's rows):
// A is recovered as totalHitProbability / hitProbability.
DayBalanceInput dayBalanceInput(const SharedResults &shared, int32_t totalRotations, int ownBallLine);
// The chooser's lines: "0%", "10%", ... "100%".
std::array<std::string, kOwnBallRatioLines> ownBallRatioTexts();

// The figures, in the order of their labels.
enum DayBalanceFigure {
    Expectation,
    StandardDeviation,
    PlusChance,
    Quantile5,
    Quantile25,
    Median,
    Quantile75,
    Quantile95,
    ConvergenceRotations,
    ConvergenceDays,
    kDayBalanceFigures
};
inline constexpr int kBalanceQuantiles = 5;
inline constexpr std::array<double, kBalanceQuantiles> kBalanceQuantileLevels = {0.05, 0.25, 0.5, 0.75, 0.95};

// "平均収支:", "標準偏差:", ... "日数:".
const std::array<const char *, kDayBalanceFigures> &dayBalanceCaptions();

struct DayBalanceNumbers {
    double expectation = 0;       // E[X], yen
    double standardDeviation = 0; // of X, yen
    double plusChance = 0;        // P(X > 0), 0..1
    // The fewest hits whose cumulative probability reaches each level, and the balance they give.
    std::array<double, kBalanceQuantiles> quantileHits{};
    std::array<double, kBalanceQuantiles> quantileBalances{};
    // Rotations until the normal approximation gives a 95 % chance of plus,
    // and the days of N rotations they take; empty when a rotation loses on average.
    std::optional<double> convergenceRotations;
    std::optional<double> convergenceDays;
};

// One bar: the days ending with firstHits..lastHits big hits (whole numbers).
// Its yen span reaches half a hit's value beyond each end, so bars touch.
struct HistogramBar {
    double firstHits = 0;
    double lastHits = 0;
    double fromYen = 0;
    double toYen = 0;
    double probability = 0;
    bool plus = false; // every day of the bar ends in plus; no bar mixes both
};

inline constexpr int kMaxHistogramBars = 60;

// Bars of equal width in hits (the first may be cut at 0 hits), one per hit
// count when the range allows, over all but about 0.1 % of days on each side.
struct DayBalanceHistogram {
    std::vector<HistogramBar> bars; // left to right, adjacent
    double probabilityBelow = 0;    // of the days left of the first bar
    double probabilityAbove = 0;    // of the days right of the last bar
};

struct DayBalance {
    bool valid = false; // false: no distribution for these inputs; every text "-", no bars
    DayBalanceNumbers figures;
    std::array<std::string, kDayBalanceFigures> texts; // as the labels show them
    DayBalanceHistogram histogram;
};

// Rejects (valid false) what the model cannot take: p outside (0, 1), A below
// 1 or endless, N outside 1..kMaxDayRotations, B < 1, y or k not positive and
// finite, r outside 0..1, and money or spreads that overflow a double.
DayBalance dayBalance(const DayBalanceInput &input);

} // namespace zenbalo
