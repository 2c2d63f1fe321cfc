// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>

namespace zenbalo {

// Average number of big hits that one first hit brings, the first hit included.
// p: normal hit probability, h: probability while the probability change runs,
// e: its entry rate, R: its length in rotations (10000 or more: until the next
// hit), L: limiter, t/m: entry rate and rotations of the four time-saving stages.
double AverageHitsPerFirstHit(double p, double h, double e, int16_t R, int16_t L, double t1, int16_t m1, double t2,
                              int16_t m2, double t3, int16_t m3, double t4, int16_t m4);

} // namespace zenbalo
