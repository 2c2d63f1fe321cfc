// SPDX-License-Identifier: GPL-3.0-or-later
#include "journal/journal_stats.h"
#include "journal/record_date.h"
#include "journal/record_reader.h"

#include "support/temp_dir.h"

#include <cmath>
#include <gtest/gtest.h>
#include <limits>

namespace zenbalo {
namespace {

std::vector<Visit> threeVisits() {
    std::vector<Visit> visits;
    for (const FileRecord &r : readRecords(testing::fixture("journal/three_visits.txt"), "yyyy/MM/dd").records)
        visits.push_back(r.visit);
    return visits;
}

std::vector<std::string> texts(const std::string &name, const VisitTotals &totals) {
    const SummaryTexts t = summaryTexts(totals);
    return {name, t.visits, t.realBalance, t.work, t.luck, t.rotations, t.rotationRate};
}

// By hand from the three records: balances 41429 − 29286 − 15000 and
// 27143 + 20714 − 3000; consumed (12·2000 − 20000)·4 + 30000 = 46000,
// (4·1500 − 3000)·4 + 40000 = 52000 and 15000, 113000 in all.
TEST(JournalStats, SummaryAndBreakdowns) {
    const std::vector<Visit> visits = threeVisits();
    EXPECT_EQ(texts("", totalsOf(visits)),
              (std::vector<std::string>{"", "3", "¥-2857", "¥44857", "¥-47714", "3600", "31.858"}));

    std::vector<std::vector<std::string>> parlours, machines;
    for (const BreakdownRow &row : breakdownByParlour(visits))
        parlours.push_back(texts(row.name, row.totals));
    for (const BreakdownRow &row : breakdownByMachine(visits))
        machines.push_back(texts(row.name, row.totals));
    EXPECT_EQ(parlours, (std::vector<std::vector<std::string>>{
                            {"ホール・ニュー大阪", "1", "¥-15000", "¥-3000", "¥-12000", "600", "40.000"},
                            {"駅前店", "2", "¥12143", "¥47857", "¥-35714", "3000", "30.612"},
                        }));
    EXPECT_EQ(machines, (std::vector<std::vector<std::string>>{
                            {"CR機種", "2", "¥26429", "¥24143", "¥2286", "1600", "26.230"},
                            {"CR海物語", "1", "¥-29286", "¥20714", "¥-50000", "2000", "38.462"},
                        }));
    EXPECT_EQ(texts("", totalsOf({})), (std::vector<std::string>{"", "0", "¥0", "¥0", "¥0", "0", "-"}));
}

TEST(JournalStats, RotationRate) {
    constexpr int32_t kMax = std::numeric_limits<int32_t>::max();
    struct Case {
        const char *name;
        int32_t rotations, hits, payout, exchanged, invested;
        const char *want;
    } cases[] = {
        {"money only", 1000, 0, 2000, 0, 50000, "20.000"},
        {"nothing consumed", 1000, 0, 2000, 0, 0, "-"},
        {"won balls cancel the money", 1000, 1, 1000, 2000, 4000, "-"},
        {"more balls exchanged than won", 100, 1, 100, 1000, 1000, "-38.462"},
        // (2³¹ − 1)² · 4 is beyond 64 bits.
        {"totals at their limits", 1, kMax, kMax, 0, 0, "0.000"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        Visit v;
        v.rotations = c.rotations;
        v.hits = c.hits;
        v.payout = c.payout;
        v.exchangedBalls = c.exchanged;
        v.investedYen = c.invested;
        EXPECT_EQ(summaryTexts(totalsOf({v})).rotationRate, c.want);
    }
}

Visit chartVisit(int64_t id, const char *date, int32_t rotations, int64_t real, int64_t work) {
    Visit v;
    v.id = id;
    v.date = parseIsoDate(date);
    v.payout = 2000;
    v.yenPerBall = "4.000";
    v.rotations = rotations;
    v.realBalance = real;
    v.work = work;
    return v;
}

// The variance of a visit's hits is E·(2A − 1 − p·A), in yen times the
// square of a big hit's worth.
TEST(JournalStats, ChartSumsAndBand) {
    std::vector<Visit> visits = {
        chartVisit(1, "2005-03-14", 1000, 41429, 27143),
        chartVisit(2, "-", 2000, -29286, 20714),
        chartVisit(3, "2005-03-10", 600, -15000, -3000),
        chartVisit(4, "2005-03-14", 100, 1000, 500),
    };
    visits[0].yenPerBall = "3.571";
    visits[0].theory = VisitTheory{1.0 / 300, 2.0, 1.0 / 150};
    visits[2].theory = VisitTheory{0.005, 1.5, 0.0075};
    // E = 0.0075 · 600 = 4.5, 2A − 1 − pA = 1.9925, a hit 2000 · 4 yen;
    // E = 1000 / 150, 2A − 1 − pA = 3 − 1/150, a hit 2000 · 3.571 yen.
    const double third = 4.5 * 1.9925 * 8000.0 * 8000.0;
    const double first = 1000.0 / 150 * (3 - 1.0 / 150) * 7142.0 * 7142.0;
    EXPECT_NEAR(luckVariance(visits[2]), third, third * 1e-12);
    EXPECT_EQ(luckVariance(visits[1]), 0.0);

    const std::vector<BalancePoint> points = chartPoints(visits);
    ASSERT_EQ(points.size(), 4u);
    const int64_t wantIds[] = {3, 1, 2, 4};
    const int64_t wantReal[] = {-15000, 26429, -2857, -1857};
    const int64_t wantWork[] = {-3000, 24143, 44857, 45357};
    const double wantSigma[] = {std::sqrt(third), std::sqrt(third + first), std::sqrt(third + first),
                                std::sqrt(third + first)};
    for (size_t k = 0; k < points.size(); ++k) {
        SCOPED_TRACE(k);
        EXPECT_EQ(points[k].visitId, wantIds[k]);
        EXPECT_EQ(points[k].realBalance, wantReal[k]);
        EXPECT_EQ(points[k].work, wantWork[k]);
        EXPECT_NEAR(points[k].sigma, wantSigma[k], wantSigma[k] * 1e-12);
    }
}

TEST(JournalStats, ChartOrder) {
    struct Case {
        const char *name;
        std::vector<const char *> dates; // of visits 1, 2, ... in journal order
        std::vector<int64_t> want;
    } cases[] = {
        {"in order", {"2005-03-01", "2005-03-02", "2005-04-01"}, {1, 2, 3}},
        {"out of order", {"2006-01-01", "2005-12-31", "2005-03-02"}, {3, 2, 1}},
        {"one date keeps journal order", {"2005-03-02", "2005-03-01", "2005-03-02"}, {2, 1, 3}},
        {"undated after the visit before it", {"2005-03-14", "-", "2005-03-10"}, {3, 1, 2}},
        {"undated at the start", {"-", "2005-03-01", "-"}, {1, 2, 3}},
        {"all undated", {"-", "-"}, {1, 2}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<Visit> visits;
        for (size_t k = 0; k < c.dates.size(); ++k)
            visits.push_back(chartVisit(static_cast<int64_t>(k + 1), c.dates[k], 1, 1, 1));
        std::vector<int64_t> ids;
        for (const BalancePoint &p : chartPoints(visits))
            ids.push_back(p.visitId);
        EXPECT_EQ(ids, c.want);
    }
}

} // namespace
} // namespace zenbalo
