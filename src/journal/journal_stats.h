// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "journal/visit.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace zenbalo {

// Sums over visits. The yen figures are those the records show.
struct VisitTotals {
    int64_t visits = 0;
    int64_t realBalance = 0; // 合計収支
    int64_t work = 0;        // 合計仕事量
    int64_t rotations = 0;   // 総回転数
    // Σ (hits × balls per big hit − exchanged balls) × 4 + invested yen: the
    // money put in plus the won balls played again, as the analysis counts it.
    double consumedYen = 0.0;

    int64_t luck() const { return realBalance - work; } // 運
    // 平均回転率, rotations per 1000 yen consumed; nullopt when none was.
    std::optional<double> rotationRate() const;
};

VisitTotals totalsOf(const std::vector<Visit> &visits);

// The figures beside the summary's captions: yen as "¥" and "###0", the
// rotation rate in "###0.000" ("-" when there is none), counts as integers.
struct SummaryTexts {
    std::string visits;
    std::string realBalance;
    std::string work;
    std::string luck;
    std::string rotations;
    std::string rotationRate;
};

SummaryTexts summaryTexts(const VisitTotals &totals);

// One parlour's or machine's visits; rows in the names' code point order.
struct BreakdownRow {
    std::string name;
    VisitTotals totals;
};

std::vector<BreakdownRow> breakdownByParlour(const std::vector<Visit> &visits);
std::vector<BreakdownRow> breakdownByMachine(const std::vector<Visit> &visits);

// The variance in yen² of what luck adds to a visit's real balance: that of
// its number of big hits, E·(2A − 1 − p·A) with E = total hit probability ×
// rotations, times (balls per big hit × yen per ball)². 0 without theory.
double luckVariance(const Visit &visit);

// One visit of the balance chart, with the sums up to and including it.
struct BalancePoint {
    int64_t visitId = 0;
    std::optional<CalendarDate> date;
    int64_t realBalance = 0; // cumulative
    int64_t work = 0;        // cumulative 仕事量
    double sigma = 0.0;      // standard deviation of the cumulative luck, in yen
};

// The visits in date order. An undated visit keeps its place after the visit
// before it in journal order (the file's order is the order of the days), so
// that the last point sums every visit; visits of one date keep journal order.
std::vector<BalancePoint> chartPoints(const std::vector<Visit> &visits);

} // namespace zenbalo
