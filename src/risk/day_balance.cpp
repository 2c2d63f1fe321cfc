// SPDX-License-Identifier: GPL-3.0-or-later
#include "risk/day_balance.h"

#include "common/format.h"
#include "risk/hit_distribution.h"

#include <algorithm>
#include <cmath>

namespace zenbalo {

namespace {

// Tail left outside the histogram's bars on each side.
constexpr double kHistogramTail = 1e-3;
// Yen amounts this close to break-even, relative to the cost, are break-even:
// inputs such as 100/28 yen per ball make exact ties come out a few ulps off.
constexpr double kTie = 1e-9;

bool validInput(const DayBalanceInput &in) {
    auto positive = [](double x) { return x > 0 && std::isfinite(x); };
    return in.hitProbability > 0 && in.hitProbability < 1 && in.averageChain >= 1 && std::isfinite(in.averageChain) &&
           in.totalRotations >= 1 && in.totalRotations <= kMaxDayRotations && in.payoutPerHit >= 1 &&
           std::isfinite(in.payoutPerHit) && positive(in.yenPerBall) && positive(in.rotationRate) &&
           in.ownBallRatio >= 0 && in.ownBallRatio <= 1;
}

// The money side of a day: what a hit is worth and what the rotations cost,
// multiplied in the order of the main window's table.
struct Money {
    double hitValue;     // v
    double rotationCost; // c 250 / k
    double dayCost;      // C

    explicit Money(const DayBalanceInput &in)
        : hitValue(in.payoutPerHit * in.yenPerBall), rotationCost(ballCost(in) * (250 / in.rotationRate)),
          dayCost(in.totalRotations * ballCost(in) * (250 / in.rotationRate)) {}

    static double ballCost(const DayBalanceInput &in) {
        return (1 - in.ownBallRatio) * 4 + in.ownBallRatio * in.yenPerBall;
    }

    double balance(double hits) const {
        const double x = hitValue * hits - dayCost;
        return std::abs(x) <= kTie * dayCost ? 0.0 : x;
    }

    // The fewest hits that end the day in plus: C / v rounds by an ulp at
    // most, so a few steps from just below it find them.
    double plusHits() const {
        double h = std::max(0.0, std::floor(dayCost / hitValue) - 1);
        for (int step = 0; step < 4 && !(balance(h) > 0); ++step)
            h = std::max(h + 1, std::nextafter(h, HUGE_VAL));
        return h;
    }
};

// n = (1.645 s1 / m1)^2 rounded up; a quotient a few ulps above a whole number is that number.
std::optional<double> convergence(const DayBalanceInput &in, const Money &money) {
    const double p = in.hitProbability, a = in.averageChain;
    const double m1 = p * a * money.hitValue - money.rotationCost;
    if (m1 <= kTie * money.rotationCost)
        return std::nullopt;
    const double s1 = money.hitValue * std::sqrt(p * a * (2 * a - 1 - p * a));
    const double x = std::pow(1.645 * s1 / m1, 2);
    const double nearest = std::round(x);
    const double n = std::abs(x - nearest) <= 1e-12 * x ? nearest : std::ceil(x);
    return std::isfinite(n) ? std::optional<double>(n) : std::nullopt;
}

DayBalanceHistogram histogram(const HitDistribution &hits, const Money &money) {
    const double low = hits.quantile(kHistogramTail), high = hits.quantile(1 - kHistogramTail);
    const double span = high - low + 1;
    const double width = span <= kMaxHistogramBars ? 1 : std::ceil(span / (kMaxHistogramBars - 1));
    // A bar edge falls where plus begins, so each bar is all plus or all not.
    const double plusFrom = money.plusHits();
    const double start = plusFrom - width * std::ceil((plusFrom - low) / width);
    const int count = static_cast<int>(std::ceil((high - start + 1) / width));

    DayBalanceHistogram result;
    double before = hits.cdf(std::max(start, 0.0) - 1);
    result.probabilityBelow = before;
    for (int i = 0; i < count; ++i) {
        HistogramBar bar;
        bar.firstHits = std::max(0.0, start + i * width);
        bar.lastHits = start + (i + 1) * width - 1;
        const double upTo = hits.cdf(bar.lastHits);
        bar.probability = std::max(0.0, upTo - before);
        before = upTo;
        bar.fromYen = money.hitValue * (bar.firstHits - 0.5) - money.dayCost;
        bar.toYen = money.hitValue * (bar.lastHits + 0.5) - money.dayCost;
        bar.plus = bar.firstHits >= plusFrom;
        result.bars.push_back(bar);
    }
    result.probabilityAbove = std::max(0.0, 1 - before);
    return result;
}

std::array<std::string, kDayBalanceFigures> texts(const DayBalanceNumbers &f) {
    std::array<std::string, kDayBalanceFigures> t;
    t[Expectation] = formatYen(f.expectation);
    t[StandardDeviation] = formatYen(f.standardDeviation);
    t[PlusChance] = formatNumber(100 * f.plusChance, "###0.0") + "%";
    for (int i = 0; i < kBalanceQuantiles; ++i)
        t[Quantile5 + i] = formatYen(f.quantileBalances[static_cast<size_t>(i)]);
    t[ConvergenceRotations] = f.convergenceRotations ? formatNumber(*f.convergenceRotations, "###0") : "-";
    t[ConvergenceDays] = f.convergenceDays ? formatNumber(*f.convergenceDays, "###0.0") : "-";
    return t;
}

} // namespace

DayBalanceInput dayBalanceInput(const SharedResults &shared, int32_t totalRotations, int ownBallLine) {
    DayBalanceInput in;
    in.hitProbability = shared.hitProbability;
    // A chain of exactly 1 can come back from the division an ulp short.
    const double chain = shared.totalHitProbability / shared.hitProbability;
    in.averageChain = chain < 1 && chain > 1 - 1e-12 ? 1.0 : chain;
    in.payoutPerHit = shared.payoutPerHit;
    in.yenPerBall = shared.yenPerBall;
    in.rotationRate = shared.rotationRate;
    in.totalRotations = totalRotations;
    in.ownBallRatio = ownBallLine / 10.0;
    return in;
}

std::array<std::string, kOwnBallRatioLines> ownBallRatioTexts() {
    std::array<std::string, kOwnBallRatioLines> lines;
    for (int i = 0; i < kOwnBallRatioLines; ++i)
        lines[static_cast<size_t>(i)] = std::to_string(10 * i) + "%";
    return lines;
}

const std::array<const char *, kDayBalanceFigures> &dayBalanceCaptions() {
    static const std::array<const char *, kDayBalanceFigures> captions = {
        "平均収支:", "標準偏差:", "プラスの確率:", "5%点:",       "25%点:",
        "中央値:",   "75%点:",    "95%点:",        "収束回転数:", "日数:",
    };
    return captions;
}

DayBalance dayBalance(const DayBalanceInput &in) {
    DayBalance result;
    result.texts.fill("-");
    if (!validInput(in))
        return result;
    const Money money(in);
    const HitDistribution hits(in.totalRotations, in.hitProbability, in.averageChain);
    DayBalanceNumbers &f = result.figures;
    f.expectation = in.totalRotations * in.hitProbability * in.averageChain * money.hitValue - money.dayCost;
    f.standardDeviation = money.hitValue * hits.standardDeviation();
    // Inputs far beyond any machine's can overflow a double: no figure then.
    if (!std::isfinite(f.expectation) || !std::isfinite(f.standardDeviation) || !std::isfinite(money.dayCost))
        return result;
    f.plusChance = 1 - hits.cdf(money.plusHits() - 1);
    for (size_t i = 0; i < kBalanceQuantiles; ++i) {
        f.quantileHits[i] = hits.quantile(kBalanceQuantileLevels[i]);
        f.quantileBalances[i] = money.balance(f.quantileHits[i]);
    }
    f.convergenceRotations = convergence(in, money);
    if (f.convergenceRotations)
        f.convergenceDays = *f.convergenceRotations / in.totalRotations;
    result.texts = texts(f);
    result.histogram = histogram(hits, money);
    result.valid = true;
    return result;
}

} // namespace zenbalo
