// SPDX-License-Identifier: GPL-3.0-or-later
#include "journal/journal_stats.h"

#include "common/format.h"
#include "common/number.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <numeric>

namespace zenbalo {

namespace {

// In double: only absurd totals leave the range where it is exact.
double consumedYen(const Visit &v) {
    const int64_t kept = int64_t{v.hits} * v.payout - v.exchangedBalls;
    return static_cast<double>(kept) * 4 + v.investedYen;
}

void add(VisitTotals &totals, const Visit &v) {
    ++totals.visits;
    totals.realBalance += v.realBalance;
    totals.work += v.work;
    totals.rotations += v.rotations;
    totals.consumedYen += consumedYen(v);
}

template <typename Key> std::vector<BreakdownRow> breakdown(const std::vector<Visit> &visits, Key key) {
    std::map<std::string, VisitTotals> rows;
    for (const Visit &v : visits)
        add(rows[key(v)], v);
    std::vector<BreakdownRow> out;
    out.reserve(rows.size());
    for (auto &[name, totals] : rows)
        out.push_back({name, totals});
    return out;
}

// A date as a number that sorts as the dates do.
int dayKey(const CalendarDate &date) { return (date.year * 100 + date.month) * 100 + date.day; }

} // namespace

std::optional<double> VisitTotals::rotationRate() const {
    if (consumedYen == 0)
        return std::nullopt;
    return static_cast<double>(rotations) / consumedYen * 1000;
}

VisitTotals totalsOf(const std::vector<Visit> &visits) {
    VisitTotals totals;
    for (const Visit &v : visits)
        add(totals, v);
    return totals;
}

SummaryTexts summaryTexts(const VisitTotals &totals) {
    const auto rate = totals.rotationRate();
    return {std::to_string(totals.visits),    formatYen(totals.realBalance),
            formatYen(totals.work),           formatYen(totals.luck()),
            std::to_string(totals.rotations), rate ? formatNumber(*rate, "###0.000") : "-"};
}

std::vector<BreakdownRow> breakdownByParlour(const std::vector<Visit> &visits) {
    return breakdown(visits, [](const Visit &v) { return v.parlour; });
}

std::vector<BreakdownRow> breakdownByMachine(const std::vector<Visit> &visits) {
    return breakdown(visits, [](const Visit &v) { return v.machine; });
}

double luckVariance(const Visit &v) {
    if (!v.theory)
        return 0.0;
    const VisitTheory &t = *v.theory;
    const double expectedHits = t.totalHitProbability * v.rotations;
    const double hits = expectedHits * (2 * t.averageChain - 1 - t.bigHitProbability * t.averageChain);
    const double yenPerHit = v.payout * parseFileNumber(v.yenPerBall).value_or(0.0);
    const double variance = hits * yenPerHit * yenPerHit;
    return std::isfinite(variance) && variance > 0 ? variance : 0.0;
}

std::vector<BalancePoint> chartPoints(const std::vector<Visit> &visits) {
    std::vector<int> keys(visits.size());
    int previous = 0;
    for (size_t k = 0; k < visits.size(); ++k)
        keys[k] = previous = visits[k].date ? dayKey(*visits[k].date) : previous;
    std::vector<size_t> order(visits.size());
    std::iota(order.begin(), order.end(), size_t{0});
    std::stable_sort(order.begin(), order.end(), [&keys](size_t a, size_t b) { return keys[a] < keys[b]; });

    std::vector<BalancePoint> points;
    points.reserve(visits.size());
    int64_t real = 0, work = 0;
    double variance = 0.0;
    for (size_t k : order) {
        const Visit &v = visits[k];
        real += v.realBalance;
        work += v.work;
        variance += luckVariance(v);
        points.push_back({v.id, v.date, real, work, std::sqrt(variance)});
    }
    return points;
}

} // namespace zenbalo
