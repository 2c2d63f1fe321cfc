// SPDX-License-Identifier: GPL-3.0-or-later
#include "firsthit/first_hit.h"

#include "common/format.h"
#include "common/text.h"

#include <cmath>

namespace zenbalo {

FirstHitTable firstHitTable(const SharedResults &shared) {
    const double p = shared.hitProbability;
    const double rate = shared.rotationRate;
    const double yenPerBall = shared.yenPerBall;
    // The checks are written so that NaN fails them.
    const bool costsKnown = rate >= 1 && rate <= 100;
    const bool ownBallsKnown = costsKnown && yenPerBall >= 0 && std::isfinite(yenPerBall);

    FirstHitTable table;
    // "Infinity" is no figure a player can use.
    table.rotationRate = std::isfinite(rate) ? formatNumber(rate, "###.000") : "-";
    table.yenPerBall = std::isfinite(yenPerBall) ? std::string(kYen) + formatNumber(yenPerBall, "###.000") : "-";
    for (int i = 0; i < kFirstHitRows; ++i) {
        const int n = (i + 1) * 100;
        const double balls = n / rate * 250;
        FirstHitRow &row = table.rows[static_cast<size_t>(i)];
        row.rotations = std::to_string(n) + ":";
        row.chance = formatNumber((1 - std::pow(1 - p, n)) * 100, "###.000") + "%";
        row.cash = costsKnown ? std::string(kYen) + formatNumber(balls * 4, "###") : "-";
        row.ownBalls = ownBallsKnown ? std::string(kYen) + formatNumber(yenPerBall * balls, "###") : "-";
    }
    return table;
}

bool canOpenFirstHitTable(const SharedResults &shared) {
    return shared.hitProbability != -1 && !(shared.hitProbability > 0.25) && !shared.machineName.empty();
}

} // namespace zenbalo
