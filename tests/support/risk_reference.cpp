// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/risk_reference.h"

#include <algorithm>
#include <cmath>

namespace zenbalo::testing {

std::vector<double> hitsByConvolution(int32_t n, double p, double a, int maxHits) {
    const double q = 1 / a;
    std::vector<double> given(static_cast<size_t>(maxHits) + 1, 0.0); // P(H = h | F = f)
    given[0] = 1;
    std::vector<double> total(given.size(), 0.0);
    double firstHits = std::exp(n * std::log1p(-p)); // P(F = f); 1 - p rounded, raised to n, would be 1e-12 off
    for (int32_t f = 0; f <= std::min(n, maxHits); ++f) {
        for (size_t h = 0; h < total.size(); ++h)
            total[h] += firstHits * given[h];
        // One more chain: T(h) = q S(h - 1) + (1 - q) T(h - 1).
        std::vector<double> next(given.size(), 0.0);
        for (size_t h = 1; h < next.size(); ++h)
            next[h] = q * given[h - 1] + (1 - q) * next[h - 1];
        given.swap(next);
        firstHits *= (n - f) / (f + 1.0) * p / (1 - p);
    }
    return total;
}

std::vector<double> cumulative(const std::vector<double> &probabilities) {
    std::vector<double> sums(probabilities.size());
    double sum = 0;
    for (size_t i = 0; i < sums.size(); ++i)
        sums[i] = sum += probabilities[i];
    return sums;
}

double binomialByLogGamma(int32_t n, double p, int32_t f) {
    return std::exp(std::lgamma(n + 1.0) - std::lgamma(f + 1.0) - std::lgamma(n - f + 1.0) + f * std::log(p) +
                    (n - f) * std::log1p(-p));
}

namespace {

struct SplitMix64 {
    uint64_t state;
    // In (0, 1), never 0, so that a logarithm of it is finite.
    double uniform() {
        uint64_t z = (state += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        z ^= z >> 31;
        return (static_cast<double>(z >> 11) + 0.5) * 0x1.0p-53;
    }
};

} // namespace

std::vector<double> simulatedDayHits(int32_t n, double p, double a, int days, uint64_t seed) {
    std::vector<double> firstHitCdf(static_cast<size_t>(n) + 1);
    for (int32_t f = 0; f <= n; ++f)
        firstHitCdf[static_cast<size_t>(f)] =
            (f > 0 ? firstHitCdf[static_cast<size_t>(f) - 1] : 0) + binomialByLogGamma(n, p, f);
    const double chainOn = std::log1p(-1 / a);
    SplitMix64 random{seed};
    std::vector<double> hits;
    for (int day = 0; day < days; ++day) {
        const double u = random.uniform();
        const auto f = std::lower_bound(firstHitCdf.begin(), firstHitCdf.end() - 1, u) - firstHitCdf.begin();
        double h = 0;
        for (auto i = f; i > 0; --i)
            h += 1 + (a == 1 ? 0 : std::floor(std::log(random.uniform()) / chainOn));
        hits.push_back(h);
    }
    return hits;
}

} // namespace zenbalo::testing
