// SPDX-License-Identifier: GPL-3.0-or-later
#include "risk/hit_distribution.h"

#include <algorithm>
#include <boost/math/special_functions/beta.hpp>
#include <cmath>

namespace zenbalo {

namespace {

namespace policies = boost::math::policies;
// A bad argument gives NaN instead of an exception: nothing may throw through the window.
using Quiet =
    policies::policy<policies::domain_error<policies::errno_on_error>, policies::pole_error<policies::errno_on_error>,
                     policies::overflow_error<policies::errno_on_error>,
                     policies::evaluation_error<policies::errno_on_error>>;

// Probability left out on each side of a walk over a distribution.
constexpr double kNeglected = 1e-17;
// Covers the rounding of a few thousand additions.
constexpr double kReachTolerance = 1e-12;

// P(Binomial(n, x) = k) for whole k <= n; n may pass 2^53.
double binomialProbability(double n, double k, double x) {
    return boost::math::ibeta_derivative(k + 1, n - k + 1, x, Quiet()) / (n + 1);
}

// The probabilities of Binomial(n, p) from its mode outwards while what lies
// beyond still matters; returns the lowest count and the probabilities upwards.
std::pair<int32_t, std::vector<double>> binomialBulk(int32_t n, double p) {
    const double odds = p / (1 - p);
    const int32_t mode = static_cast<int32_t>(std::min<double>(n, std::floor((n + 1.0) * p)));
    const double atMode = binomialProbability(n, mode, p);

    // Away from the mode each ratio is smaller than the one before, so the rest
    // of a side is at most next / (1 - ratio).
    std::vector<double> below;
    double term = atMode;
    for (int32_t f = mode; f > 0; --f) {
        const double ratio = f / ((n - f + 1.0) * odds);
        term *= ratio;
        if (ratio < 1 && term / (1 - ratio) < kNeglected)
            break;
        below.push_back(term);
    }
    std::vector<double> probabilities(below.rbegin(), below.rend());
    probabilities.push_back(atMode);
    term = atMode;
    for (int32_t f = mode; f < n; ++f) {
        const double ratio = (n - f) * odds / (f + 1.0);
        term *= ratio;
        if (ratio < 1 && term / (1 - ratio) < kNeglected)
            break;
        probabilities.push_back(term);
    }
    return {mode - static_cast<int32_t>(below.size()), std::move(probabilities)};
}

} // namespace

HitDistribution::HitDistribution(int32_t totalRotations, double hitProbability, double averageChain)
    : n_(totalRotations), p_(hitProbability), a_(averageChain), q_(1 / averageChain) {
    auto [low, probabilities] = binomialBulk(n_, p_);
    firstLow_ = low;
    firstCdfs_.resize(probabilities.size());
    double sum = 0;
    for (size_t i = 0; i < probabilities.size(); ++i)
        firstCdfs_[i] = sum += probabilities[i];
}

double HitDistribution::firstHitCdf(double f) const {
    if (f < firstLow_)
        return 0;
    const double i = f - firstLow_;
    return i < static_cast<double>(firstCdfs_.size()) ? firstCdfs_[static_cast<size_t>(i)] : 1.0;
}

double HitDistribution::cdf(double hits) const {
    const double h = std::floor(hits);
    if (!(h >= firstLow_))
        return 0; // also NaN
    if (q_ == 1)
        return firstHitCdf(h);

    const double low = firstLow_;
    const double high = low + static_cast<double>(firstCdfs_.size()) - 1;
    const double top = std::min(high, h);
    // Beyond the first-hit counts that matter, F <= G holds for certain.
    const double beyond = h > high ? boost::math::ibeta(high + 1, h - high, q_, Quiet()) : 0.0;

    // G's probabilities fall from its mode both ways; walk them over [low, top]
    // from the count nearest the mode while what is left still counts.
    const double anchor = std::clamp(std::floor((h + 1) * q_), low, top);
    const double atAnchor = binomialProbability(h, anchor, q_);
    const double cutoff = kNeglected / static_cast<double>(firstCdfs_.size());
    const double chainOn = a_ - 1; // (1 - q) / q, without losing digits near A = 1
    double sum = atAnchor * firstHitCdf(anchor);
    double term = atAnchor;
    for (double g = anchor; g < top && term >= cutoff; ++g) {
        term *= (h - g) / ((g + 1) * chainOn);
        sum += term * firstHitCdf(g + 1);
    }
    term = atAnchor;
    for (double g = anchor; g > low && term >= cutoff; --g) {
        term *= g * chainOn / (h - g + 1);
        sum += term * firstHitCdf(g - 1);
    }
    return std::min(1.0, sum + beyond);
}

double HitDistribution::quantile(double level) const {
    const double h = firstReaching(level);
    // A cumulative probability equal to the level may come out a few ulps
    // short of it; one hit back is as far as that can reach.
    return h > 0 && cdf(h - 1) >= level - kReachTolerance ? h - 1 : h;
}

double HitDistribution::firstReaching(double level) const {
    if (cdf(0) >= level)
        return 0;
    // A bracket from the normal shape, widened until it holds the answer.
    const double centre = mean(), spread = standardDeviation();
    double below = std::floor(centre - 4 * spread);
    if (!(below > 0 && cdf(below) < level))
        below = 0;
    double above = std::max(below + 1, std::ceil(centre + 4 * spread));
    while (cdf(above) < level) {
        below = above;
        above = 2 * above + 1;
        if (!std::isfinite(above))
            return below;
    }
    // Past 2^53 the halving ends where the two ends are neighbouring doubles.
    for (;;) {
        const double middle = std::floor(below + (above - below) / 2);
        if (middle <= below || middle >= above)
            return above;
        (cdf(middle) >= level ? above : below) = middle;
    }
}

double HitDistribution::mean() const { return n_ * p_ * a_; }

double HitDistribution::standardDeviation() const { return std::sqrt(n_ * p_ * a_ * (2 * a_ - 1 - p_ * a_)); }

} // namespace zenbalo
