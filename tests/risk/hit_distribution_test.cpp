// SPDX-License-Identifier: GPL-3.0-or-later
#include "risk/hit_distribution.h"

#include "support/risk_reference.h"

#include <cmath>
#include <gtest/gtest.h>

namespace zenbalo {
namespace {

using testing::binomialByLogGamma;

const double kLevels[] = {1e-7, 0.001, 0.05, 0.25, 0.5, 0.75, 0.95, 0.999};

TEST(HitDistribution, MatchesConvolution) {
    struct Case {
        const char *name;
        int32_t n;
        double p, a;
        int maxHits; // beyond all but 1e-13 of the days
    } cases[] = {
        {"one rotation: the 75 % point is a tie at 0 hits", 1, 0.25, 1, 3},
        {"first hits only", 40, 0.25, 1, 40},
        {"P(H <= 2) = 19/20 exactly, computed an ulp short", 1, 5 / 36.0, 2.5, 80},
        {"short chains", 12, 0.2, 3, 120},
        {"the sample machine", 2000, 1 / 319.7, 2.736, 260},
        {"chains barely longer than one hit", 500, 0.25, 1.0000001, 500},
        {"many first hits", 2000, 0.25, 3, 2600},
        {"long chains", 40, 0.1, 50, 3000},
        {"N = 32767", 32767, 1 / 319.7, 2.736, 700},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        const HitDistribution hits(c.n, c.p, c.a);
        const std::vector<double> want = testing::cumulative(testing::hitsByConvolution(c.n, c.p, c.a, c.maxHits));
        ASSERT_NEAR(want.back(), 1, 1e-13);
        for (size_t h = 0; h < want.size(); ++h) {
            ASSERT_NEAR(hits.cdf(static_cast<double>(h)), want[h], 1e-12) << h << " hits";
        }
        for (double level : kLevels) {
            const auto reached = std::find_if(want.begin(), want.end(), [&](double p) { return p >= level - 1e-12; });
            EXPECT_EQ(hits.quantile(level), static_cast<double>(reached - want.begin())) << level;
        }
    }
}

// With chains of 1e12 hits and more, G ~ Binomial(h, 1/A) is Poisson(h / A) to
// within 1e-12, and P(H <= h) = sum over f of P(F = f) P(Poisson(h / A) >= f).
double longChainCdf(int32_t n, double p, double a, double h) {
    const double mean = h / a;
    std::vector<double> atLeast(static_cast<size_t>(n) + 2, 0.0);
    for (int32_t j = n; j >= 0; --j) {
        const double poisson = j == 0 ? std::exp(-mean) : std::exp(j * std::log(mean) - mean - std::lgamma(j + 1.0));
        atLeast[static_cast<size_t>(j)] = atLeast[static_cast<size_t>(j) + 1] + poisson;
    }
    const double beyondN = std::max(0.0, 1 - atLeast[0]);
    double sum = 0;
    for (int32_t f = 0; f <= n; ++f)
        sum += binomialByLogGamma(n, p, f) * (atLeast[static_cast<size_t>(f)] + beyondN);
    return sum;
}

TEST(HitDistribution, LongChainsMatchTheirPoissonForm) {
    struct Case {
        const char *name;
        int32_t n;
        double p, a;
    } cases[] = {
        {"worst input: hit counts far past 2^53", 32767, 0.25, 3e20},
        {"chains of a trillion hits", 32767, 0.25, 1e12},
        {"few first hits", 32767, 1 / 319.7, 1e15},
        {"mostly no first hit", 3000, 1e-4, 1e17},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        const HitDistribution hits(c.n, c.p, c.a);
        for (double level : kLevels) {
            const double h = hits.quantile(level);
            ASSERT_TRUE(std::isfinite(h)) << level;
            EXPECT_NEAR(hits.cdf(h), longChainCdf(c.n, c.p, c.a, h), 1e-9) << level;
            if (h > 0) { // steps of 1 hit are far below 1e-9 here
                EXPECT_NEAR(hits.cdf(h), level, 1e-9) << level;
            }
        }
    }
}

TEST(HitDistribution, FirstHitsOnlyAtTheLargestDay) {
    const HitDistribution hits(32767, 0.25, 1);
    double want = 0;
    for (int32_t f = 0; f <= 8400; ++f) {
        want += binomialByLogGamma(32767, 0.25, f);
        if (f % 50 == 0) {
            ASSERT_NEAR(hits.cdf(f), want, 1e-9) << f;
        }
    }
}

} // namespace
} // namespace zenbalo
