// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <vector>

namespace zenbalo::testing {

// P(H = 0..maxHits) for a day of N rotations, first hits Binomial(N, p), each
// a geometric chain of mean A: the mixture over F of F-fold convolutions of
// the chain length, built one first hit at a time. Independent of the core.
std::vector<double> hitsByConvolution(int32_t n, double p, double a, int maxHits);

// Running sums of a probability list.
std::vector<double> cumulative(const std::vector<double> &probabilities);

// P(Binomial(n, p) = f) from log-gamma.
double binomialByLogGamma(int32_t n, double p, int32_t f);

// Big hits of `days` simulated days: splitmix64 uniforms, F by inversion of its
// distribution function, each chain by inversion of the geometric one.
std::vector<double> simulatedDayHits(int32_t n, double p, double a, int days, uint64_t seed);

} // namespace zenbalo::testing
