// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/calculation.h"

#include "common/format.h"
#include "engine/model.h"
#include "engine/specification.h"

#include <cmath>

namespace zenbalo {

namespace {

constexpr const char *kThreeDecimals = "###0.000";

CalculationDisplay failed(std::string message) {
    CalculationDisplay display = CalculationDisplay::blank();
    display.status = std::move(message);
    return display;
}

} // namespace

CalculationDisplay CalculationDisplay::blank() {
    CalculationDisplay display;
    display.summary.fill("-");
    display.borders.fill("-");
    display.balances.fill("-");
    return display;
}

CalculationDisplay runCalculation(const MachineRecord &text1, const std::string &rotationRateText,
                                  const std::string &totalRotationsText, SharedResults &shared) {
    const Validation v = validateSpecification(text1, rotationRateText, totalRotationsText);
    const Specification &s = v.spec;
    shared.rotationRate = s.rotationRate;
    shared.totalRotations = s.N;
    if (v.payoutRead)
        shared.payoutPerHit = s.B;
    shared.hitProbability = s.p;
    if (!v.passed())
        return failed(v.message);

    // Inputs that pass the checks above but that no figure can be made of. A
    // probability whose reciprocal overflows would show the total as 1/Infinity.
    if (s.p == 0 || !std::isfinite(1 / s.p))
        return failed("大当たり確率が異常です。");
    if (s.e == 1.0 && s.R >= 10000 && s.L == 0)
        return failed("確変リミットが異常です。");
    const double averageHits = AverageHitsPerFirstHit(s);
    if (!std::isfinite(averageHits) || averageHits <= 0)
        return failed("平均連荘数を計算できません。");
    const double yenPerBall = shared.yenPerBall;
    if (!std::isfinite(yenPerBall) || yenPerBall <= 0)
        return failed("換金率が異常です。");

    const double N = s.N, B = s.B, p = s.p;
    const double totalHitProbability = averageHits * p;
    const double averagePayout = averageHits * B;
    const double ownBallBorder = 1000 / (averagePayout * p * 4);
    const double cashBorder = 1000 / (averagePayout * p * yenPerBall);

    CalculationDisplay display;
    display.summary = {
        formatNumber(N * p, kThreeDecimals),       formatNumber(N * p * averageHits, kThreeDecimals),
        formatNumber(averageHits, kThreeDecimals), "1/" + formatNumber(1 / totalHitProbability, kThreeDecimals),
        formatNumber(averagePayout, "###0"),
    };
    for (int k = 0; k < kTableRows; ++k) {
        const double r = k / 10.0;
        const double border = (1 - r) * cashBorder + r * ownBallBorder;
        const double ballCost = (1 - r) * 4 + r * yenPerBall;
        double balance = N * p * averageHits * (B * yenPerBall) - N * ballCost * (250 / s.rotationRate);
        // The epsilon keeps an exact break-even computed as -3.6e-12 at 0.
        balance = std::floor(balance / 100 + 1e-9) * 100;
        if (!std::isfinite(border) || !std::isfinite(balance))
            return failed("平均連荘数を計算できません。");
        display.borders[k] = formatNumber(border, kThreeDecimals);
        display.balances[k] = formatYen(balance);
    }
    shared.totalHitProbability = totalHitProbability;
    return display;
}

} // namespace zenbalo
