// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <vector>

namespace zenbalo {

// The big hits H of a day of N rotations: F ~ Binomial(N, p) first hits, each
// starting a chain of L >= 1 hits with P(L = l) = q (1 - q)^(l - 1), q = 1/A.
//
// Exact, not simulated: since H <= h exactly when at most h trials hold the F
// chain ends, P(H <= h) = P(F <= G) with G ~ Binomial(h, 1/A) independent of F.
// The distribution of F is kept once over the first-hit counts that carry all
// but 1e-17 of it; each P(H <= h) walks G's probabilities over those counts
// from one incomplete-beta value, so its cost does not grow with h. Absolute
// error below 1e-12 for every N <= 32767, A up to the largest finite chain.
//
// Hit counts are doubles holding whole numbers: with long chains they pass
// 2^53, where neighbouring counts differ by less than a double resolves.
// Immutable after construction; every member is safe to call from any thread.
class HitDistribution {
public:
    // Needs 1 <= totalRotations, 0 < hitProbability < 1, 1 <= averageChain < infinity.
    HitDistribution(int32_t totalRotations, double hitProbability, double averageChain);

    // P(H <= hits); `hits` is taken down to a whole number.
    double cdf(double hits) const;
    // The smallest whole number of hits whose cumulative probability reaches
    // `level` (0 < level < 1); a shortfall up to 1e-12 still counts as reaching
    // it, so that an exact tie is not lost to rounding.
    double quantile(double level) const;

    double mean() const;
    double standardDeviation() const;

private:
    double firstHitCdf(double f) const;
    double firstReaching(double level) const;

    int32_t n_;
    double p_;
    double a_;
    double q_;
    int32_t firstLow_ = 0;          // the fewest first hits that count
    std::vector<double> firstCdfs_; // P(F <= firstLow_ + i)
};

} // namespace zenbalo
