// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "common/shared_results.h"

#include <array>
#include <optional>
#include <string>

namespace zenbalo {

inline constexpr int kAnalysisResults = 5;

// The four play totals exactly as typed into Text1(1)..Text1(4).
struct AnalysisTotals {
    std::string playRotations;
    std::string playHits;
    std::string exchangedBalls;
    std::string investedYen;
};

// Label3(0)..Label3(4) as shown: real balance, theoretical balance, hit error,
// luck index and rotation rate of the play.
using AnalysisResults = std::array<std::string, kAnalysisResults>;

// One run of the analysis. nullopt means the window shows nothing new and
// leaves its save menu as it was: an empty rotation or money box, a total or
// the consumed money beyond 32 bits, nothing consumed, no hit expected, or a
// figure that is not a number.
std::optional<AnalysisResults> RunAnalysis(const AnalysisTotals &totals, const SharedResults &shared);

// Label2(0) and Label2(1) as the window shows them from its load on.
struct MachineFigures {
    std::string payout;
    std::string yenPerBall;
};

MachineFigures machineFigures(const SharedResults &shared);

} // namespace zenbalo
