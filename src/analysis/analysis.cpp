// SPDX-License-Identifier: GPL-3.0-or-later
#include "analysis/analysis.h"

#include "common/format.h"
#include "common/number.h"

#include <cmath>
#include <cstdint>
#include <limits>

namespace zenbalo {

namespace {

std::optional<int32_t> fit32(int64_t value) {
    if (value < std::numeric_limits<int32_t>::min() || value > std::numeric_limits<int32_t>::max())
        return std::nullopt;
    return static_cast<int32_t>(value);
}

// Money put in plus won balls played back at 4 yen each. Every step must stay
// within 32 bits, as the figure was always computed, rather than wrap.
std::optional<int32_t> consumedYen(int32_t hits, int32_t payout, int32_t balls, int32_t yen) {
    const std::optional<int32_t> won = fit32(int64_t{hits} * payout);
    if (!won)
        return std::nullopt;
    const std::optional<int32_t> playedBack = fit32(int64_t{*won} - balls);
    if (!playedBack)
        return std::nullopt;
    const std::optional<int32_t> asYen = fit32(int64_t{*playedBack} * 4);
    if (!asYen)
        return std::nullopt;
    return fit32(int64_t{*asYen} + yen);
}

} // namespace

std::optional<AnalysisResults> RunAnalysis(const AnalysisTotals &totals, const SharedResults &shared) {
    const std::optional<int32_t> rotations = toInt32(leadingNumber(totals.playRotations));
    const std::optional<int32_t> hits = toInt32(leadingNumber(totals.playHits));
    const std::optional<int32_t> balls = toInt32(leadingNumber(totals.exchangedBalls));
    const std::optional<int32_t> invested = toInt32(leadingNumber(totals.investedYen));
    if (!rotations || !hits || !balls || !invested || *rotations == 0 || *invested == 0)
        return std::nullopt;

    const double yenPerBall = shared.yenPerBall;
    const double payout = shared.payoutPerHit;
    const double expectedHits = shared.totalHitProbability * *rotations;
    const double realBalance = yenPerBall * *balls - *invested;
    const double hitError = *hits - expectedHits;
    const double theoreticalBalance = realBalance - hitError * payout * yenPerBall;
    const double luckIndex = hitError / expectedHits * 100 + 100;

    const std::optional<int32_t> consumed = consumedYen(*hits, shared.payoutPerHit, *balls, *invested);
    if (!consumed)
        return std::nullopt;
    const double playRotationRate = static_cast<double>(*rotations) / *consumed * 1000;

    // No hit expected or nothing consumed divides by zero; that, like any other
    // endless figure, leaves the window as it was.
    for (double figure : {realBalance, theoreticalBalance, hitError, luckIndex, playRotationRate})
        if (!std::isfinite(figure))
            return std::nullopt;
    return AnalysisResults{formatYen(realBalance), formatYen(theoreticalBalance), formatNumber(hitError, "###0.000"),
                           formatNumber(luckIndex, "###0.000"), formatNumber(playRotationRate, "###0.000")};
}

MachineFigures machineFigures(const SharedResults &shared) {
    // A rate of no balls per 100 yen leaves an endless yen value: no value to show.
    const bool known = std::isfinite(shared.yenPerBall);
    return {std::to_string(shared.payoutPerHit), known ? formatNumber(shared.yenPerBall, "###0.000") : "-"};
}

} // namespace zenbalo
